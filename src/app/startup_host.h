#pragma once
// What start-up asks of the platform beyond the ports: the process's current folder, the mutex
// that marks the running monitor, the single-instance test, the screen and the hidden main form
// with its tray icon and timers. The Win32 main window implements it; tests record the calls.

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "commands/web_management.h"

namespace ovp {

class AppContext;

// The two periodic timers on the main form's window.
inline constexpr int kStatusTimerId = 5;
inline constexpr std::uint32_t kStatusTimerPeriodMs = 2000;
inline constexpr int kWatcherTimerId = 1;
inline constexpr std::uint32_t kWatcherTimerPeriodMs = 20000;

class IStartupHost {
  public:
    virtual ~IStartupHost() = default;

    // Makes the folder the process's current drive and directory; false when refused.
    virtual bool SetCurrentFolder(const std::filesystem::path& folder) = 0;
    // Creates the named mutex, initially owned; true when this call created it. When it already
    // existed (another monitor holds it), the handle is released and closed at once.
    virtual bool CreateAppMutex(std::string_view name) = 0;
    // Another process of this same monitor executable runs in this logon session.
    virtual bool OtherInstanceRunning() = 0;
    // Logical pixels per inch along the screen's x axis; 0 when unknown.
    virtual int ScreenDpiX() = 0;

    // Creates the hidden main form `frmOVWinService`, which works on the context from now on;
    // false when its window cannot be created.
    virtual bool LoadMainForm(AppContext& context) = 0;
    // The form's icon, the first tray picture.
    virtual void SetFormIcon(const std::filesystem::path& iconFile) = 0;
    // `AddTrayIcon`: replaces the form's window procedure by the program's own and adds the tray
    // icon with the form's icon and an empty tooltip.
    virtual void AddTrayIcon() = 0;
    // Starts (or restarts) a periodic timer on the form's window.
    virtual void StartTimer(int timerId, std::uint32_t periodMs) = 0;
    // The window part of `MinimizeToTray`: the form is minimised and hidden.
    virtual void MinimizeAndHide() = 0;
    // The web-management alert `frmWelcome` (one window: a second alert replaces the first) and
    // its text in the tray tooltip.
    virtual void ShowWebManagementAlert(const WebAlert& alert) = 0;
};

}  // namespace ovp
