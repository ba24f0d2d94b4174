#include "win32/tray_icon_win.h"

#include <shellapi.h>

#include <cwchar>

#include "win32/text_win.h"

namespace ovp::win {

std::wstring TrayTipText(std::string_view utf8Tip) {
    std::wstring tip = Wide(utf8Tip);
    if (tip.size() > kTrayTipMaxChars) {
        std::size_t length = kTrayTipMaxChars;
        // A high surrogate at the cut would leave half a character.
        if (tip[length - 1] >= 0xD800 && tip[length - 1] <= 0xDBFF) {
            --length;
        }
        tip.resize(length);
    }
    return tip;
}

void TrayIconImage::Load(const std::filesystem::path& iconFile) {
    unique_hicon loaded(
        static_cast<HICON>(::LoadImageW(nullptr, iconFile.c_str(), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                        ::GetSystemMetrics(SM_CYSMICON), LR_LOADFROMFILE)));
    if (loaded) {
        shown_ = loaded.get();
        owned_ = std::move(loaded);  // the previous picture is destroyed here, never leaked
        return;
    }
    shown_ = ::LoadIconW(nullptr, IDI_APPLICATION);
    owned_.reset();
}

NOTIFYICONDATAW Win32TrayIcon::Data(UINT flags) const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window_;
    data.uID = kTrayIconId;
    data.uFlags = flags;
    data.uCallbackMessage = callbackMessage_;
    data.hIcon = image_.Get();
    std::wcsncpy(data.szTip, tip_.c_str(), kTrayTipMaxChars);
    return data;
}

bool Win32TrayIcon::Add(const std::filesystem::path& iconFile, std::string_view tip) {
    image_.Load(iconFile);
    tip_ = TrayTipText(tip);
    NOTIFYICONDATAW data = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    if (added_) {
        return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
    }
    added_ = ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    return added_;
}

bool Win32TrayIcon::SetIcon(const std::filesystem::path& iconFile) {
    // The old picture must stay alive until the shell has taken the new one.
    TrayIconImage previous = std::move(image_);
    image_ = TrayIconImage();
    image_.Load(iconFile);
    if (!added_) {
        return false;
    }
    NOTIFYICONDATAW data = Data(NIF_ICON);
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool Win32TrayIcon::SetTip(std::string_view tip) {
    tip_ = TrayTipText(tip);
    if (!added_) {
        return false;
    }
    NOTIFYICONDATAW data = Data(NIF_TIP);
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool Win32TrayIcon::Remove() {
    if (!added_) {
        return true;
    }
    NOTIFYICONDATAW data = Data(0);
    added_ = false;
    return ::Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
}

}  // namespace ovp::win
