#pragma once
// The hidden main form `frmOVWinService` as the core sees it: the window logic, the missed-backup
// watcher, the tray status monitor and the status window's presenter, wired together and driven
// by typed events. The Win32 main window creates the window, turns its messages into the calls
// below and implements the host ports; the decisions are made here.

#include <cstdint>
#include <optional>

#include "app/missed_backup_watcher.h"
#include "app/startup_host.h"
#include "app/status_window_host.h"
#include "app/tray_host.h"
#include "app/tray_status_monitor.h"
#include "app/window_messages.h"
#include "commands/command_env.h"
#include "commands/tray_commands.h"
#include "context/app_context.h"
#include "context/tray_menu_model.h"
#include "platform/locale_format.h"
#include "platform/message_box.h"
#include "platform/tray.h"
#include "ui/failure_notification.h"
#include "ui/status_presenter.h"
#include "ui/status_view.h"

namespace ovp {

// The form's timers; each value is the id the timer has on the form's window.
enum class FormTimer : int {
    Status = kStatusTimerId,    // `TrayStatusMonitor`, periodic, armed by start-up
    Watcher = kWatcherTimerId,  // `MissedBackupWatcher`, periodic, armed by start-up
    Hibernation = 0x7E01,       // `chkHibernationTimeOut`, one-shot
    // A tray icon the shell refused (no taskbar yet at log-on) is tried again at this pace until
    // it is there; "TaskbarCreated" adds it at once as well.
    TrayRetry = 0x7E02,
    // The one-shot command timers, armed by a menu click.
    CDPTimer = 0x7E03,
    WebMTimer = 0x7E04,
};
inline constexpr FormTimer kFormTimers[] = {FormTimer::Status,    FormTimer::Watcher,  FormTimer::Hibernation,
                                            FormTimer::TrayRetry, FormTimer::CDPTimer, FormTimer::WebMTimer};
inline constexpr std::uint32_t kHibernationTimerMs = 1000;
inline constexpr std::uint32_t kTrayRetryMs = 2000;

// The form's timer of a window timer id; nullopt for a timer that is not the form's.
std::optional<FormTimer> FormTimerOf(std::uintptr_t timerId);

// The form timer of a command timer.
FormTimer FormTimerOf(CommandTimer timer);

// What the form asks of its window: the tray icon, the status window and what the tray commands
// need.
class IMainFormHost : public ITrayIconHost, public IStatusWindowHost, public ICommandHost {};

// The feature window a link of the failure notification opens.
FeatureWindow FeatureWindowOf(FailureLink link);

// The form takes the window logic's tray requests itself: the menu and the logout are commands.
class MainForm final : private ITrayHost, private IFailureLinks {
  public:
    // All references outlive the form. instanceNumber: the program instance's number, which
    // names the wake timer.
    MainForm(AppContext& context,
             IMainFormHost& host,
             ITrayIcon& tray,
             IStatusView& statusView,
             IFailureNotificationView& failureView,
             ILocaleFormat& locale,
             IMessageBox& messageBox,
             std::uint64_t instanceNumber);

    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    void OnTimer(FormTimer timer) noexcept;
    // A command of the tray menu.
    void OnMenuCommand(TrayMenuItem item) noexcept;

    // ---- The messages of the replaced window procedure, as TrayWindowMessages takes them. The
    // view calls RereadCurrentUser after each message, handled or not ----
    void OnPowerBroadcast(PowerEvent event) noexcept { messages_.OnPowerBroadcast(event); }
    void OnTaskbarCreated() noexcept { messages_.OnTaskbarCreated(); }
    void OnCloseInteractiveWindow() noexcept { messages_.OnCloseInteractiveWindow(); }
    void OnEndSession(bool sessionEnding) noexcept { messages_.OnEndSession(sessionEnding); }
    void OnTrayMouse(TrayMouse mouse) noexcept { messages_.OnTrayMouse(mouse); }
    // The tray icon's own callback: a double-click or the right button on the icon.
    void OnTrayIconMouse(TrayMouse mouse) noexcept;
    void RereadCurrentUser() noexcept { messages_.RereadCurrentUser(); }

    // The program is ending: a wake-up wait leaves at its next turn.
    void StopWaiting() noexcept { messages_.StopWaiting(); }

    // What the status window's view reports its load, refresh and clicks to.
    IStatusEvents& StatusEvents() { return statusForm_; }
    // What the failure notification's view reports its clicks to.
    IFailureNotificationEvents& FailureEvents() { return failureForm_; }

    int StatusTicks() const { return statusTicks_; }
    int WatcherTicks() const { return watcherTicks_; }

    TrayCommands& Commands() { return commands_; }

  private:
    // ---- ITrayHost, for the window logic ----
    void RemoveTrayIcon() override { host_.RemoveTrayIcon(); }
    void RefreshFormIcon() override { host_.RefreshFormIcon(); }
    void AddTrayIcon() override { host_.AddTrayIcon(); }
    void EnableHibernationTimer(bool enable) override { host_.EnableHibernationTimer(enable); }
    void ShowTrayMenu() override;
    void ExplorerLogout() override;
    // ---- IFailureLinks, for the failure notification ----
    void Follow(FailureLink link) override { host_.OpenWindow(FeatureWindowOf(link)); }

    IMainFormHost& host_;
    CommandEnv commandEnv_;
    TrayCommands commands_;
    TrayWindowMessages messages_;
    frmFailureNotification failureForm_;
    MissedBackupWatcher watcher_;
    TrayStatusMonitor statusMonitor_;
    // Its "View Log" opens the activity log viewer through the host.
    frmStatus statusForm_;

    int statusTicks_ = 0;
    int watcherTicks_ = 0;
};

}  // namespace ovp
