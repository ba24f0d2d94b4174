#include "win32/tray_icon_win.h"

#include <shellapi.h>

#include <cwchar>
#include <string>

#include "win32/error_text_win.h"
#include "win32/text_win.h"

namespace ovp::win {

std::wstring TrayTipText(std::string_view utf8Tip) {
    return Wide(CutTrayTip(utf8Tip));
}

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);

template <typename Function>
Function User32Function(const char* name) {
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    // Through void(*)() so that the compiler accepts the cast between function types.
    return user32 == nullptr ? nullptr
                             : reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(user32, name)));
}

}  // namespace

int SmallIconSizeForDpi(UINT dpi) {
    static const auto forDpi = User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (forDpi != nullptr && dpi != 0) {
        const int size = forDpi(SM_CXSMICON, dpi);
        if (size > 0) {
            return size;
        }
    }
    return ::GetSystemMetrics(SM_CXSMICON);
}

int SmallIconSize(HWND window) {
    static const auto dpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    return SmallIconSizeForDpi(dpiForWindow != nullptr && window != nullptr ? dpiForWindow(window) : 0);
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

HICON TrayIconCache::Get(const std::filesystem::path& iconFile, int size) {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (iconFile.empty() || !::GetFileAttributesExW(iconFile.c_str(), GetFileExInfoStandard, &attributes) ||
        (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return nullptr;
    }
    const std::uint64_t writeTime =
        (std::uint64_t{attributes.ftLastWriteTime.dwHighDateTime} << 32) | attributes.ftLastWriteTime.dwLowDateTime;
    const std::uint64_t fileSize = (std::uint64_t{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow;
    const int pixels = size > 0 ? size : ::GetSystemMetrics(SM_CXSMICON);
    const std::wstring key = CacheKey(iconFile);
    const auto found = entries_.find(key);
    if (found != entries_.end() && found->second.writeTime == writeTime && found->second.size == fileSize &&
        found->second.pixels == pixels) {
        return found->second.icon.get();
    }
    // The .ico's image nearest in size is taken (the product's icons hold 16 to 48 pixels).
    unique_hicon loaded(
        static_cast<HICON>(::LoadImageW(nullptr, iconFile.c_str(), IMAGE_ICON, pixels, pixels, LR_LOADFROMFILE)));
    if (!loaded) {
        return nullptr;
    }
    const HICON icon = loaded.get();
    if (found != entries_.end()) {
        // The old picture may be the one the shell shows: it is retired, and released by Trim
        // once the shell has taken its replacement.
        retired_.push_back(std::move(found->second.icon));
        found->second = Entry{std::move(loaded), writeTime, fileSize, pixels};
    } else {
        entries_.emplace(key, Entry{std::move(loaded), writeTime, fileSize, pixels});
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

Win32TrayIcon::Win32TrayIcon(HWND window, ITraceSink* trace, ShellNotify shell, UINT callbackMessage)
    : window_(window),
      trace_(trace),
      shell_(std::move(shell)),
      callbackMessage_(callbackMessage),
      iconSize_(SmallIconSize(window)) {}

NOTIFYICONDATAW Win32TrayIcon::Data(UINT flags, HICON icon, const std::wstring& tip) const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window_;
    data.uID = kTrayIconId;
    data.uFlags = flags;
    data.uCallbackMessage = callbackMessage_;
    data.hIcon = icon;
    std::wcsncpy(data.szTip, tip.c_str(), kTrayTipMaxUnits);
    return data;
}

namespace {

const char* CommandName(DWORD command) {
    switch (command) {
        case NIM_ADD:
            return "NIM_ADD";
        case NIM_MODIFY:
            return "NIM_MODIFY";
        case NIM_DELETE:
            return "NIM_DELETE";
        default:
            return "NIM_?";
    }
}

}  // namespace

bool Win32TrayIcon::Notify(DWORD command, NOTIFYICONDATAW& data) {
    // The shell does not always set an error of its own; a stale one would mislead the trace.
    ::SetLastError(ERROR_SUCCESS);
    if (shell_(command, &data) != FALSE) {
        lastFailure_.reset();
        return true;
    }
    const DWORD error = ::GetLastError();
    if (trace_ == nullptr || lastFailure_ == std::pair{command, error}) {
        return false;
    }
    lastFailure_ = std::pair{command, error};
    try {
        std::string line =
            std::string("Shell_NotifyIconW ") + CommandName(command) + " failed, error " + std::to_string(error);
        const std::string text = error == ERROR_SUCCESS ? std::string() : SystemErrorText(error);
        if (!text.empty()) {
            line += ": " + text;
        }
        trace_->Error(line);
    } catch (...) {
        // Tracing never gets in the way of the icon.
    }
    return false;
}

void Win32TrayIcon::Shown(HICON icon, const std::filesystem::path& iconFile) {
    shown_ = icon;
    shownFile_ = iconFile;
    // Only now that the shell holds the new picture may a replaced one go.
    pictures_.Trim(shown_);
}

bool Win32TrayIcon::Add(const std::filesystem::path& iconFile, std::string_view tip) {
    // The shell announces a DPI change of the taskbar's monitor by "TaskbarCreated" too, which
    // adds the icon anew: the size is asked for afresh.
    if (window_ != nullptr) {
        iconSize_ = SmallIconSize(window_);
    }
    HICON picture = pictures_.Get(iconFile, iconSize_);
    std::filesystem::path pictureFile = iconFile;
    if (picture == nullptr) {
        picture = shown_ != nullptr ? shown_ : ::LoadIconW(nullptr, IDI_APPLICATION);  // shared, never destroyed
        pictureFile = shownFile_;
    }
    std::wstring text = TrayTipText(tip);
    NOTIFYICONDATAW data = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP, picture, text);
    bool done = false;
    if (added_) {
        done = Notify(NIM_MODIFY, data);
    } else {
        done = Notify(NIM_ADD, data);
        if (!done && addTried_) {
            // The earlier add may have reached the shell after all: then the icon is there, the
            // shell refuses to add it twice, and a modify finds it.
            done = Notify(NIM_MODIFY, data);
        }
        addTried_ = true;
        added_ = done;
    }
    if (done) {
        Shown(picture, pictureFile);
        tip_ = std::move(text);
    }
    return done;
}

bool Win32TrayIcon::SetIcon(const std::filesystem::path& iconFile) {
    const HICON picture = pictures_.Get(iconFile, iconSize_);
    if (picture == nullptr || !added_) {
        return false;
    }
    if (picture == shown_) {
        return true;
    }
    NOTIFYICONDATAW data = Data(NIF_ICON, picture, tip_);
    if (!Notify(NIM_MODIFY, data)) {
        return false;
    }
    Shown(picture, iconFile);
    return true;
}

bool Win32TrayIcon::SetTip(std::string_view tip) {
    std::wstring text = TrayTipText(tip);
    if (!added_) {
        return false;
    }
    if (text == tip_) {
        return true;
    }
    NOTIFYICONDATAW data = Data(NIF_TIP, shown_, text);
    if (!Notify(NIM_MODIFY, data)) {
        return false;
    }
    tip_ = std::move(text);
    return true;
}

bool Win32TrayIcon::Remove() {
    NOTIFYICONDATAW data = Data(0, shown_, tip_);
    if (!added_) {
        // An unconfirmed add may have left an icon that would stay behind as a dead one.
        if (addTried_) {
            shell_(NIM_DELETE, &data);
            addTried_ = false;
        }
        return true;
    }
    added_ = false;
    addTried_ = false;
    return Notify(NIM_DELETE, data);
}

void Win32TrayIcon::OnDpiChanged(UINT dpi) {
    iconSize_ = SmallIconSizeForDpi(dpi);
    if (!added_ || shownFile_.empty()) {
        return;  // the next add loads its picture at the new size
    }
    const HICON picture = pictures_.Get(shownFile_, iconSize_);
    if (picture == nullptr || picture == shown_) {
        return;
    }
    NOTIFYICONDATAW data = Data(NIF_ICON, picture, tip_);
    if (Notify(NIM_MODIFY, data)) {
        Shown(picture, shownFile_);
    }
}

}  // namespace ovp::win
