#pragma once
// The hidden main form `frmOVWinService`: a top-level window that is never shown (top-level, not
// message-only, so that it receives the broadcasts: "TaskbarCreated", power and session-end
// messages). It hosts start-up's platform side, the tray icon, the timers and the tray menu; what
// its timers, commands and messages do is decided by the core's MainForm.
//
// Its class procedure is the form's own (timers, menu commands, the refused close). `AddTrayIcon`
// replaces it by `TrayWindowProc` through GWLP_WNDPROC, which hands every message to the window
// logic of the core and then to the saved procedure; `RemoveTrayIcon` puts the saved one back.
// No exception leaves either procedure.

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

#include "app/main_form.h"
#include "app/startup_host.h"
#include "context/app_context.h"
#include "schedules/schedule_manager.h"
#include "sessionlog/session_log_presenter.h"
#include "ui/message_box.h"
#include "win32/failure_notification_win.h"
#include "win32/general_message_win.h"
#include "win32/locale_format_win.h"
#include "win32/report_window_win.h"
#include "win32/schedule_manager_win.h"
#include "win32/session_log_window_win.h"
#include "win32/status_window_win.h"
#include "win32/tray_icon_win.h"
#include "win32/unique_resource.h"
#include "win32/welcome_win.h"
#include "win32/window_base.h"

namespace ovp::win {

// What other programs (and the end-to-end tests) find the form by.
inline constexpr wchar_t kMainWindowClassName[] = L"frmOVWinService";
inline constexpr wchar_t kMainWindowTitle[] = L"frmOVWinService";
// The registered message that asks the monitor to exit as from its tray menu's Exit (the
// uninstaller and an update send it).
inline constexpr wchar_t kExitRequestMessage[] = L"OVPMonitorExitRequest";

// The registered messages of a re-created taskbar and of the explorer's logout request.
inline constexpr wchar_t kTaskbarCreatedMessage[] = L"TaskbarCreated";
inline constexpr wchar_t kCloseInteractiveWindowMessage[] = L"CloseInteractiveWindow";
// The private message whose second parameter carries a mouse message of the tray icon.
inline constexpr UINT kTrayMouseMessage = 0x7E9;

// Whether two paths name the same file (same volume and file index), however they are written.
bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b);

class MainWindow final : public WindowBase<MainWindow>, public IStartupHost, public IMainFormHost {
  public:
    MainWindow(HINSTANCE instance, std::filesystem::path executable);
    ~MainWindow() override;

    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // ---- IStartupHost ----
    bool SetCurrentFolder(const std::filesystem::path& folder) override;
    bool CreateAppMutex(std::string_view name) override;
    bool OtherInstanceRunning() override;
    int ScreenDpiX() override;
    bool LoadMainForm(AppContext& context) override;
    void SetFormIcon(const std::filesystem::path& iconFile) override;
    // Also ITrayHost's: subclasses the form (once) and adds the icon, or keeps trying.
    void AddTrayIcon() override;
    void StartTimer(int timerId, std::uint32_t periodMs) override;
    void MinimizeAndHide() override;
    void ShowWebManagementAlert(const WebAlert& alert) override;

    // ---- ITrayIconHost ----
    void RemoveTrayIcon() override;
    void RefreshFormIcon() override;
    void EnableHibernationTimer(bool enable) override;

    // ---- IStatusWindowHost ----
    void ShowStatusWindow() override;

    // ---- ICommandHost ----
    void ArmCommandTimer(CommandTimer timer, bool armed) override;
    void SetBusyCursor(bool busy) override;
    void PopUpTrayMenu(const TrayMenuModel& menu) override;
    void OpenWindow(FeatureWindow window) override;
    std::uintptr_t OwnerWindow() override;
    // The icon is removed, the procedure put back, the window destroyed and the message loop
    // ended. Safe to call more than once.
    void Exit() noexcept override;
    // What Exit does without ending the message loop (the loop has already ended).
    void Shutdown() noexcept;

    const ScheduleManagerView* ScheduleView() const { return scheduleView_.get(); }
    bool IsSubclassed() const { return subclassed_; }
    const Win32TrayIcon* TrayIcon() const { return tray_.get(); }
    Win32TrayIcon* TrayIcon() { return tray_.get(); }
    const StatusWindowView* StatusView() const { return statusView_.get(); }
    const FailureNotificationView* FailureView() const { return failureView_.get(); }
    const WelcomeView* Welcome() const { return welcomeView_.get(); }
    const SessionLogView* LogView() const { return logView_.get(); }
    int StatusTicks() const { return form_ != nullptr ? form_->StatusTicks() : 0; }
    int WatcherTicks() const { return form_ != nullptr ? form_->WatcherTicks() : 0; }

  private:
    friend class WindowBase<MainWindow>;

    static LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The form's own procedure: timers, menu commands, the refused close.
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnWindowGone(HWND window) noexcept;
    // `TrayWindowProc`'s part: the message as a call on the window logic, if it is one of its.
    void PassToWindowLogic(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void OnTrayIconMouse(LPARAM mouseMessage);
    void TryAddTrayIcon();
    void ShowScheduleManager();
    void SetFormTimer(FormTimer timer, std::uint32_t periodMs);
    void KillFormTimer(FormTimer timer);
    void Subclass();
    void RestoreProcedure();
    bool RegisterFormClass();

    HINSTANCE instance_;
    std::filesystem::path executable_;
    AppContext* context_ = nullptr;
    WNDPROC previousProc_ = nullptr;
    UINT taskbarCreatedMessage_ = 0;
    UINT closeInteractiveWindowMessage_ = 0;
    UINT exitRequestMessage_ = 0;
    bool subclassed_ = false;
    bool shutDown_ = false;

    unique_handle mutex_;
    std::filesystem::path formIconFile_;
    TrayIconImage formIcon_;
    std::unique_ptr<Win32TrayIcon> tray_;
    Win32LocaleFormat localeFormat_;
    std::unique_ptr<StatusWindowView> statusView_;
    std::unique_ptr<FailureNotificationView> failureView_;
    std::unique_ptr<WelcomeView> welcomeView_;
    Win32MessageBox productBox_;
    // Every window's questions and notices go through this one, in the user's language.
    LocalisedMessageBox messageBox_{productBox_};
    // The activity log viewer: one window, opened again in front when asked for a second time.
    std::unique_ptr<SessionLogView> logView_;
    std::unique_ptr<frmSessionLog> logForm_;
    // The cursor before the hourglass; null while none is shown.
    HCURSOR previousCursor_ = nullptr;
    std::unique_ptr<MainForm> form_;
    std::unique_ptr<ErrorReportWindow> errorReport_;
    // Created at the first request and kept: a wizard's nested loop may still be running in them
    // when Exit closes the window.
    std::unique_ptr<ScheduleManagerView> scheduleView_;
    std::unique_ptr<SchedulerFrm> scheduleManager_;
};

}  // namespace ovp::win
