#include "app/main_form.h"

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

MainForm::MainForm(AppContext& context,
                   IMainFormHost& host,
                   ITrayIcon& tray,
                   IStatusView& statusView,
                   ILocaleFormat& locale,
                   std::uint64_t instanceNumber)
    : host_(host),
      messages_(ServicesOf(context, host), instanceNumber),
      watcher_(context),
      statusMonitor_(context, tray, host),
      statusForm_(context, locale, statusView) {}

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
    if (item == TrayMenuItem::MnuExit || item == TrayMenuItem::mnuShutdown) {
        try {
            host_.Exit();
        } catch (...) {
        }
    }
    // The other commands' handlers arrive with the tray commands.
}

}  // namespace ovp
