#include "win32/tray_icon_win.h"

#include <shellapi.h>

#include <cwchar>

#include "win32/text_win.h"

namespace ovp::win {

std::wstring TrayTipText(std::string_view utf8Tip) {
    return Wide(CutTrayTip(utf8Tip));
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

namespace {

// Ten pictures and a brand icon are all the monitor shows.
constexpr std::size_t kMaxCachedPictures = 16;

std::wstring CacheKey(const std::filesystem::path& file) {
    std::wstring key = file.lexically_normal().wstring();
    if (!key.empty()) {
        ::CharLowerBuffW(key.data(), static_cast<DWORD>(key.size()));
    }
    return key;
}

}  // namespace

HICON TrayIconCache::Get(const std::filesystem::path& iconFile) {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (iconFile.empty() || !::GetFileAttributesExW(iconFile.c_str(), GetFileExInfoStandard, &attributes) ||
        (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return nullptr;
    }
    const std::uint64_t writeTime =
        (std::uint64_t{attributes.ftLastWriteTime.dwHighDateTime} << 32) | attributes.ftLastWriteTime.dwLowDateTime;
    const std::uint64_t size = (std::uint64_t{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow;
    const std::wstring key = CacheKey(iconFile);
    const auto found = entries_.find(key);
    if (found != entries_.end() && found->second.writeTime == writeTime && found->second.size == size) {
        return found->second.icon.get();
    }
    unique_hicon loaded(
        static_cast<HICON>(::LoadImageW(nullptr, iconFile.c_str(), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                        ::GetSystemMetrics(SM_CYSMICON), LR_LOADFROMFILE)));
    if (!loaded) {
        return nullptr;
    }
    const HICON icon = loaded.get();
    if (found != entries_.end()) {
        // The old picture may be the one the shell shows: it is retired, and released by Trim
        // once the shell has taken its replacement.
        retired_.push_back(std::move(found->second.icon));
        found->second = Entry{std::move(loaded), writeTime, size};
    } else {
        entries_.emplace(key, Entry{std::move(loaded), writeTime, size});
    }
    return icon;
}

void TrayIconCache::Trim(HICON keep) {
    std::erase_if(retired_, [keep](const unique_hicon& icon) { return icon.get() != keep; });
    if (entries_.size() <= kMaxCachedPictures) {
        return;
    }
    std::erase_if(entries_, [keep](const auto& entry) { return entry.second.icon.get() != keep; });
}

NOTIFYICONDATAW Win32TrayIcon::Data(UINT flags) const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window_;
    data.uID = kTrayIconId;
    data.uFlags = flags;
    data.uCallbackMessage = callbackMessage_;
    data.hIcon = shown_;
    std::wcsncpy(data.szTip, tip_.c_str(), kTrayTipMaxUnits);
    return data;
}

bool Win32TrayIcon::Add(const std::filesystem::path& iconFile, std::string_view tip) {
    const HICON picture = pictures_.Get(iconFile);
    if (picture != nullptr) {
        shown_ = picture;
    } else if (shown_ == nullptr) {
        shown_ = ::LoadIconW(nullptr, IDI_APPLICATION);  // shared, never destroyed
    }
    tip_ = TrayTipText(tip);
    NOTIFYICONDATAW data = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    if (added_) {
        return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
    }
    added_ = ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    return added_;
}

bool Win32TrayIcon::SetIcon(const std::filesystem::path& iconFile) {
    const HICON picture = pictures_.Get(iconFile);
    if (picture == nullptr) {
        return false;
    }
    if (picture == shown_ && added_) {
        return true;
    }
    shown_ = picture;
    bool set = false;
    if (added_) {
        NOTIFYICONDATAW data = Data(NIF_ICON);
        set = ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
    }
    // Only now that the shell holds the new picture may a replaced one go.
    pictures_.Trim(shown_);
    return set;
}

bool Win32TrayIcon::SetTip(std::string_view tip) {
    std::wstring text = TrayTipText(tip);
    if (text == tip_ && added_) {
        return true;
    }
    tip_ = std::move(text);
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
