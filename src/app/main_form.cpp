#include "app/main_form.h"

#include "commands/process_supervision.h"

namespace ovp {

namespace {

WindowMessageServices ServicesOf(AppContext& context, ITrayHost& host) {
    return {context.values,
            context.trace,
            context.ports.clock,
            context.ports.system,
            context.ports.power,
            context.ports.windows,
            context.ports.processes,
            context.ports.shell,
            context.ports.codePage,
            host,
            context.jobMemory,
            context.settings,
            context.names};
}

}  // namespace

std::optional<FormTimer> FormTimerOf(std::uintptr_t timerId) {
    for (const FormTimer timer : kFormTimers) {
        if (timerId == static_cast<std::uintptr_t>(timer)) {
            return timer;
        }
    }
    return std::nullopt;
}

FeatureWindow FeatureWindowOf(FailureLink link) {
    switch (link) {
        case FailureLink::ActivityLog:
            return FeatureWindow::LogViewer;
        case FailureLink::ScheduleManager:
            return FeatureWindow::ScheduleManager;
        case FailureLink::ErrorReport:
            break;
    }
    return FeatureWindow::ErrorReport;
}

FormTimer FormTimerOf(CommandTimer timer) {
    return timer == CommandTimer::CDPTimer ? FormTimer::CDPTimer : FormTimer::WebMTimer;
}

MainForm::MainForm(AppContext& context,
                   IMainFormHost& host,
                   ITrayIcon& tray,
                   IStatusView& statusView,
                   IFailureNotificationView& failureView,
                   ILocaleFormat& locale,
                   IMessageBox& messageBox,
                   std::uint64_t instanceNumber)
    : host_(host),
      commandEnv_{context, messageBox, tray, host},
      commands_(commandEnv_),
      messages_(ServicesOf(context, *this), instanceNumber),
      failureForm_(context, failureView, *this),
      watcher_(context, failureForm_),
      statusMonitor_(context, tray, host),
      statusForm_(context, locale, statusView, [this] { host_.OpenWindow(FeatureWindow::LogViewer); }) {}

void MainForm::OnTimer(FormTimer timer) noexcept {
    switch (timer) {
        case FormTimer::Status:
            ++statusTicks_;
            statusMonitor_.Tick();
            break;
        case FormTimer::Watcher:
            ++watcherTicks_;
            watcher_.Tick();
            break;
        case FormTimer::Hibernation:
            messages_.chkHibernationTimeOut_Timer();
            break;
        case FormTimer::CDPTimer:
            commands_.OnCommandTimer(CommandTimer::CDPTimer);
            break;
        case FormTimer::WebMTimer:
            commands_.OnCommandTimer(CommandTimer::WebMTimer);
            break;
        case FormTimer::TrayRetry:
            // Adding again keeps the replaced procedure and tries the shell once more.
            try {
                host_.AddTrayIcon();
            } catch (...) {
            }
            break;
    }
}

void MainForm::OnMenuCommand(TrayMenuItem item) noexcept {
    commands_.OnMenuCommand(item);
}

void MainForm::OnTrayIconMouse(TrayMouse mouse) noexcept {
    commands_.SysTrayMouseEventHandler(mouse);
}

void MainForm::ShowTrayMenu() {
    commands_.SysTrayMouseEventHandler(TrayMouse::RightUp);
}

void MainForm::ExplorerLogout() {
    ovp::ExplorerLogout(commandEnv_);
}

}  // namespace ovp
