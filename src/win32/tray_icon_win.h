#pragma once
// The tray port on Shell_NotifyIconW: one icon, identified by its window and id 0 (not by a
// GUID, which Wine's shell does not key icons by), reporting mouse events to the window as the
// callback message 0x200.

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/tray.h"
#include "win32/unique_resource.h"

namespace ovp::win {

inline constexpr UINT kTrayCallbackMessage = 0x200;
inline constexpr UINT kTrayIconId = 0;
// The tip as the shell will hold it (CutTrayTip).
std::wstring TrayTipText(std::string_view utf8Tip);

// Loads an .ico file at the size of small icons; a missing or unreadable file gives the system's
// application icon (shared, never destroyed), so that the user is never left without an icon.
class TrayIconImage {
  public:
    void Load(const std::filesystem::path& iconFile);
    HICON Get() const { return shown_; }

  private:
    unique_hicon owned_;
    HICON shown_ = nullptr;
};

// The tray pictures, each loaded once and handed out again for as long as its file is unchanged.
// The status monitor names a picture every two seconds for as long as the user is logged on;
// loading it each time would cost a file read and an icon handle per tick. A file that changes
// (size or last write) is loaded again; a file that is missing or unreadable gives null, so the
// caller keeps the picture it shows.
class TrayIconCache {
  public:
    HICON Get(const std::filesystem::path& iconFile);
    // Releases every picture except keep (the one the shell shows), when the cache has grown
    // beyond the few pictures the monitor uses, e.g. after many brand icons were tried.
    void Trim(HICON keep);
    std::size_t Size() const { return entries_.size() + retired_.size(); }

  private:
    struct Entry {
        unique_hicon icon;
        std::uint64_t writeTime = 0;
        std::uint64_t size = 0;
    };
    std::map<std::wstring, Entry> entries_;
    std::vector<unique_hicon> retired_;
};

class Win32TrayIcon final : public ITrayIcon {
  public:
    explicit Win32TrayIcon(HWND window, UINT callbackMessage = kTrayCallbackMessage)
        : window_(window), callbackMessage_(callbackMessage) {}
    ~Win32TrayIcon() override { Remove(); }

    Win32TrayIcon(const Win32TrayIcon&) = delete;
    Win32TrayIcon& operator=(const Win32TrayIcon&) = delete;

    // A missing picture file at the first add gives the system's application icon, so that the
    // user is never left without an icon.
    bool Add(const std::filesystem::path& iconFile, std::string_view tip) override;
    // A missing or unreadable picture file leaves the current picture (false). The same picture
    // as the one shown costs no call to the shell.
    bool SetIcon(const std::filesystem::path& iconFile) override;
    bool SetTip(std::string_view tip) override;
    bool Remove() override;
    bool IsAdded() const override { return added_; }

  private:
    NOTIFYICONDATAW Data(UINT flags) const;

    HWND window_;
    UINT callbackMessage_;
    TrayIconCache pictures_;
    HICON shown_ = nullptr;
    std::wstring tip_;
    bool added_ = false;
};

}  // namespace ovp::win
