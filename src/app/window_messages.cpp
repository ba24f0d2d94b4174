#include "app/window_messages.h"

#include <optional>
#include <string>
#include <system_error>

#include "base/files.h"
#include "base/resume_next.h"
#include "base/text.h"
#include "contract/engine_contract.h"
#include "contract/os_info.h"
#include "scheduler/schedule_dates.h"
#include "scheduler/schedule_file.h"
#include "service/process_check.h"
#include "sessionlog/session_log_catalogue.h"

namespace ovp {

namespace {

// Clears a flag when the scope ends, however it ends.
class ScopedFlag {
  public:
    explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~ScopedFlag() { flag_ = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

  private:
    bool& flag_;
};

std::string CountedUnit(std::int64_t count, std::string_view one, std::string_view many) {
    std::string text = " ";
    text += std::to_string(count);
    text += ' ';
    text += count == 1 ? one : many;
    return text;
}

}  // namespace

Duration DurationText(const DateTime& start, const DateTime& end) {
    Duration duration;
    duration.seconds = (end.ToLocalSeconds() - start.ToLocalSeconds()).count();
    if (duration.seconds <= 0) {
        return duration;
    }
    const std::int64_t hours = duration.seconds / 3600;
    const std::int64_t minutes = duration.seconds % 3600 / 60;
    const std::int64_t seconds = duration.seconds % 60;
    const auto append = [&duration](const std::string& part) {
        if (!duration.text.empty()) {
            duration.text += " and";
        }
        duration.text += part;
    };
    if (hours > 0) {
        append(CountedUnit(hours, "hour", "hours"));
    }
    if (minutes > 0) {
        append(CountedUnit(minutes, "minute", "minutes"));
    }
    if (seconds > 0) {
        append(std::to_string(seconds) + " seconds");
    }
    return duration;
}

// ---- Power notifications ------------------------------------------------------------------------

void TrayWindowMessages::OnPowerBroadcast(PowerEvent event) noexcept {
    if (event == PowerEvent::Other) {
        return;
    }
    ResumeNext([this] { PowerBroadcast(); });
}

void TrayWindowMessages::PowerBroadcast() {
    s_.trace.WriteTrace(FormatStamp(s_.clock.Now()) + " :     Hibernation Message Arrived");
    const std::string standby = TrimWhitespace(s_.values.ReadUserNameRegistry(contract::kStandbyBackup));
    if (!standby.empty() && standby != "1") {
        return;
    }
    const std::string nextTransfer = s_.values.ReadUserNameRegistry(contract::kNextTransfer);
    s_.trace.WriteDatedTrace("Previous scheduled time:   " + rememberedNextTransfer_ + "    CurrentTime:   " +
                             FormatStamp(s_.clock.Now()) + "    NewScheduledTime:   " + nextTransfer);
    const std::string newTime = TrimWhitespace(nextTransfer);
    if (!newTime.empty() && newTime != TrimWhitespace(rememberedNextTransfer_)) {
        s_.trace.WriteDatedTrace("NewScheduledTime: " + newTime +
                                 " Previous scheduled time: " + rememberedNextTransfer_ + "So Setting Cancel to true ");
        cancelWait_ = true;
    }
    if (IsVistaFamily(s_.system.Version())) {
        previousExecutionState_ = s_.power.RequestExecutionState(ExecutionRequest::SystemRequiredContinuous);
        s_.trace.WriteDatedTrace(FormatStamp(s_.clock.Now()) + "   SetThreadExecutionState to SYSTEM_REQUIRED");
    }
    s_.host.EnableHibernationTimer(true);
    rememberedNextTransfer_ = nextTransfer;
    // The computer sleeps as soon as this notification has been answered, and the one-second timer
    // fires only after it has woken again: the wake timer must be armed now, not by that timer.
    ResumeNext([&] { ArmWakeTimer(nextTransfer); });
}

void TrayWindowMessages::ArmWakeTimer(std::string_view nextTransfer) {
    const auto scheduled = ReadScheduleStamp(nextTransfer);
    if (!scheduled) {
        return;
    }
    const std::int64_t seconds = DurationText(s_.clock.Now(), *scheduled).seconds;
    if (seconds < 1) {
        return;
    }
    std::unique_ptr<IWakeTimer> timer = OpenWakeTimer();
    if (timer && timer->Arm(seconds)) {
        armedTimer_ = std::move(timer);
        armedFor_ = *scheduled;
    }
}

std::unique_ptr<IWakeTimer> TrayWindowMessages::OpenWakeTimer() {
    return s_.power.OpenWakeTimer(std::string(kWakeTimerPrefix) + std::to_string(instanceNumber_));
}

std::unique_ptr<IWakeTimer> TrayWindowMessages::TakeWakeTimer(const DateTime& due, std::int64_t seconds) {
    std::unique_ptr<IWakeTimer> timer = std::move(armedTimer_);
    if (timer && armedFor_ == due) {
        return timer;
    }
    // The schedule moved without a notification, or none armed the timer.
    if (!timer) {
        timer = OpenWakeTimer();
    }
    if (!timer || !timer->Arm(seconds)) {
        return nullptr;
    }
    return timer;
}

// ---- Taskbar, explorer logout, end of session ---------------------------------------------------

void TrayWindowMessages::OnTaskbarCreated() noexcept {
    ResumeNext([this] { s_.host.RemoveTrayIcon(); });
    ResumeNext([this] { s_.host.RefreshFormIcon(); });
    ResumeNext([this] { s_.host.AddTrayIcon(); });
}

void TrayWindowMessages::OnCloseInteractiveWindow() noexcept {
    ResumeNext([this] { s_.trace.Info("Calling logou t from explorer"); });
    ResumeNext([this] { s_.host.ExplorerLogout(); });
}

void TrayWindowMessages::OnEndSession(bool sessionEnding) noexcept {
    ResumeNext([this, sessionEnding] { EndSession(sessionEnding); });
}

void TrayWindowMessages::EndSession(bool sessionEnding) {
    ResumeNext([this] { s_.trace.Info("Inside End_Session"); });
    if (!sessionEnding) {
        // The log-off was cancelled: the user stays, so the main application, the client and
        // the connection state must stay as they are.
        return;
    }
    ResumeNext([this] {
        const std::string title = s_.settings.installationName + std::string(contract::kHiddenWindowSuffix);
        if (const WindowHandle hidden = s_.windows.FindEngineHiddenDialog(title)) {
            s_.windows.PostSessionEnd(hidden);
        }
    });
    ResumeNext([this] {
        s_.trace.Info("WM_ENDSESSION , setting Connection parameter to 0");
        s_.values.WriteRegistryDword(RegistryRoot::CurrentUser, s_.values.ConnectionParametersKey(),
                                     contract::kRegStatus, 0);
    });
    ResumeNext([this] {
        // The client still serves a running scheduled job: only an idle one is ended.
        const bool idle = IsIdleRunMarker(Readfirstline(ScheduleFilePath(s_.values.UserFolder()), s_.codePage));
        if (idle && IsProcessRunning(s_.processes, s_.names.client)) {
            s_.trace.Info("Closing Client");
            EndProcessesNamed(s_.processes, s_.names.client);
        }
    });
    ResumeNext([this] {
        const std::string title = s_.settings.caption + " (" + s_.values.CurrentUserName() + ")";
        if (const WindowHandle clientWindow = s_.windows.FindTopLevel(title)) {
            s_.windows.Close(clientWindow);
        }
    });
    ResumeNext([this] { EndProcessesNamed(s_.processes, s_.names.classic); });
}

// ---- The private tray message -------------------------------------------------------------------

void TrayWindowMessages::OnTrayMouse(TrayMouse mouse) noexcept {
    ResumeNext([this, mouse] { TrayMouseMessage(mouse); });
}

void TrayWindowMessages::TrayMouseMessage(TrayMouse mouse) {
    switch (mouse) {
        case TrayMouse::DoubleClick:
            if (const auto newest = NewestFileIn(s_.values.UserFolder() / PathFromUtf8(contract::kSessionFolder));
                !newest.empty()) {
                OpenSessionLog(s_.shell, newest);
            }
            break;
        case TrayMouse::RightUp:
            s_.host.ShowTrayMenu();
            break;
    }
}

std::string TrayWindowMessages::RereadCurrentUser() noexcept {
    try {
        return s_.values.CurrentUserName();
    } catch (...) {
        return {};
    }
}

// ---- The wake-up of a pending scheduled backup --------------------------------------------------

void TrayWindowMessages::chkHibernationTimeOut_Timer() noexcept {
    ResumeNext([this] { s_.host.EnableHibernationTimer(false); });
    if (waiting_) {
        // Nesting a second wait inside the running one would keep the first on the stack until
        // the second ends; the running wait leaves instead, and the check is made anew below.
        recheckRequested_ = true;
        return;
    }
    do {
        recheckRequested_ = false;
        ResumeNext([this] { HibernationCheck(); });
    } while (recheckRequested_ && !stopping_);
}

void TrayWindowMessages::HibernationCheck() {
    // A value that is no real date and time has nothing to wake for.
    const auto scheduled = ReadScheduleStamp(s_.values.ReadUserNameRegistry(contract::kNextTransfer));
    const DateTime now = s_.clock.Now();
    const Duration duration = scheduled ? DurationText(now, *scheduled) : Duration{};
    if (duration.seconds < 1) {
        // Armed for a wait that does not come, the timer would wake the computer for nothing.
        armedTimer_.reset();
    }
    if (!scheduled) {
        return;
    }
    const std::string fields =
        "Current Time :  " + FormatStamp(now) + " Scheduled Time:  " + FormatStamp(*scheduled) + " Time difference:  ";
    if (*scheduled < now) {
        s_.trace.WriteDatedTrace("Time Difference is -ve. So Exiting.    " + fields);
        return;
    }
    if (duration.seconds >= 1) {
        s_.trace.WriteDatedTrace(fields + duration.text);
        WaitForWakeTimer(*scheduled, duration.seconds);
    }
}

void TrayWindowMessages::WaitForWakeTimer(const DateTime& due, std::int64_t seconds) {
    if (stopping_) {
        return;
    }
    const ScopedFlag waiting(waiting_);
    // A cancel asked for before this wait began was meant for an earlier one (or for none).
    cancelWait_ = false;
    const std::unique_ptr<IWakeTimer> timer = TakeWakeTimer(due, seconds);
    // Without an armed timer the wait could only end on a switch-off or a cancel.
    if (!timer) {
        return;
    }
    if (IsVistaFamily(s_.system.Version()) &&
        TrimWhitespace(s_.values.ReadUserNameOrvessa(contract::kStarted)) == "0") {
        previousExecutionState_ = s_.power.RequestExecutionState(ExecutionRequest::ContinuousOnly);
        s_.trace.WriteDatedTrace(FormatStamp(s_.clock.Now()) + " SetThreadExecutionState set to CONTINUOUS");
    }
    for (;;) {
        const WakeWaitResult result = timer->WaitForTimerOrInput();
        if (result == WakeWaitResult::Quit) {
            stopping_ = true;
            return;
        }
        if (result == WakeWaitResult::Failed) {
            return;
        }
        s_.clock.WaitPumping(kWakeWaitPumpMs);
        if (StandbyBackupOff() || cancelWait_) {
            cancelWait_ = false;
            s_.trace.WriteDatedTrace("Exiting waitable timer");
            return;
        }
        if (result == WakeWaitResult::Timer || stopping_ || recheckRequested_) {
            return;
        }
    }
}

bool TrayWindowMessages::StandbyBackupOff() {
    return TrimWhitespace(s_.values.ReadUserNameRegistry(contract::kStandbyBackup)) == "0";
}

}  // namespace ovp
