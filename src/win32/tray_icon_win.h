#pragma once
// The tray port on Shell_NotifyIconW: one icon, identified by its window and id 0 (not by a
// GUID, which Wine's shell does not key icons by), reporting mouse events to the window as the
// callback message 0x200.

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "contract/trace_sink.h"
#include "platform/tray.h"
#include "win32/unique_resource.h"

namespace ovp::win {

inline constexpr UINT kTrayCallbackMessage = 0x200;
inline constexpr UINT kTrayIconId = 0;
// The tip as the shell will hold it (CutTrayTip).
std::wstring TrayTipText(std::string_view utf8Tip);

// The size in pixels of small icons (the notification area's) at a DPI, and at the DPI of the
// window's monitor. Windows before 10 (1607) know only the system's one size.
int SmallIconSizeForDpi(UINT dpi);
int SmallIconSize(HWND window);

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
    // size: pixels of width and height; 0 for the system's size of small icons. A picture asked
    // for at another size than before is loaded again.
    HICON Get(const std::filesystem::path& iconFile, int size = 0);
    // Releases every picture except keep (the one the shell shows), when the cache has grown
    // beyond the few pictures the monitor uses, e.g. after many brand icons were tried.
    void Trim(HICON keep);
    std::size_t Size() const { return entries_.size() + retired_.size(); }

  private:
    struct Entry {
        unique_hicon icon;
        std::uint64_t writeTime = 0;
        std::uint64_t size = 0;
        int pixels = 0;
    };
    std::map<std::wstring, Entry> entries_;
    std::vector<unique_hicon> retired_;
};

class Win32TrayIcon final : public ITrayIcon {
  public:
    // Shell_NotifyIconW's signature: tests put a shell in its place that fails on command.
    using ShellNotify = std::function<BOOL(DWORD command, NOTIFYICONDATAW* data)>;

    // trace (optional) is told of every refusal of the shell.
    explicit Win32TrayIcon(HWND window,
                           ITraceSink* trace = nullptr,
                           ShellNotify shell = &::Shell_NotifyIconW,
                           UINT callbackMessage = kTrayCallbackMessage);
    ~Win32TrayIcon() override { Remove(); }

    Win32TrayIcon(const Win32TrayIcon&) = delete;
    Win32TrayIcon& operator=(const Win32TrayIcon&) = delete;

    // A missing picture file at the first add gives the system's application icon, so that the
    // user is never left without an icon. An add the shell did not confirm may have reached it
    // all the same (a busy shell times out): the next add that the shell refuses tries to modify
    // the icon instead, and that one's success counts as added.
    bool Add(const std::filesystem::path& iconFile, std::string_view tip) override;
    // A missing or unreadable picture file leaves the current picture (false). The same picture
    // or tip as the shell holds costs no call to the shell; a change the shell refused is asked
    // for again at the next call.
    bool SetIcon(const std::filesystem::path& iconFile) override;
    bool SetTip(std::string_view tip) override;
    bool Remove() override;
    bool IsAdded() const override { return added_; }

    // The window's monitor changed its DPI: the current picture is loaded again at the size of
    // small icons for that DPI.
    void OnDpiChanged(UINT dpi);
    // The picture the shell holds.
    HICON Icon() const { return shown_; }

  private:
    NOTIFYICONDATAW Data(UINT flags, HICON icon, const std::wstring& tip) const;
    bool Notify(DWORD command, NOTIFYICONDATAW& data);
    void Shown(HICON icon, const std::filesystem::path& iconFile);

    HWND window_;
    ITraceSink* trace_;
    ShellNotify shell_;
    UINT callbackMessage_;
    int iconSize_;
    TrayIconCache pictures_;
    // What the shell holds: only a call it confirmed changes these.
    HICON shown_ = nullptr;
    std::filesystem::path shownFile_;
    std::wstring tip_;
    bool added_ = false;
    // An add went out unconfirmed since the last removal.
    bool addTried_ = false;
    // The refusal traced last, so that a shell that is gone costs one trace line, not one a tick.
    std::optional<std::pair<DWORD, DWORD>> lastFailure_;  // command, error
};

}  // namespace ovp::win
