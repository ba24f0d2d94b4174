#pragma once
// The messages of the hidden main window (`TrayWindowProc`) and the standby wake-up of a pending
// scheduled backup (`chkHibernationTimeOut` and the waitable-timer wait).
//
// The host's window procedure turns the messages into the calls below; the one-shot 1000 ms form
// timer calls chkHibernationTimeOut_Timer.
// Nothing here throws out to the caller: each handler swallows its own failures.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app/tray_host.h"
#include "base/datetime.h"
#include "contract/product_config.h"
#include "contract/trace.h"
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/power.h"
#include "platform/processes.h"
#include "platform/shell.h"
#include "platform/system_info.h"
#include "platform/tray.h"
#include "platform/windows.h"
#include "scheduler/job_control.h"
#include "settings/shared_values.h"

namespace ovp {

// The power events the wake-up cares about.
enum class PowerEvent {
    QuerySuspend,  // the system asks whether it may sleep
    Suspend,       // the system is about to sleep
    Other,         // resume and the rest: not ours
};

// The wake timer is named this + the program instance's number.
inline constexpr std::string_view kWakeTimerPrefix = "Timer";
// The wait loop lets window events run for this long after each wake.
inline constexpr std::uint32_t kWakeWaitPumpMs = 1000;

// ---- Duration text ----------------------------------------------------------------------------
struct Duration {
    // Whole seconds from start to end (negative when end is earlier).
    std::int64_t seconds = 0;
    // " 1 hour" / " n hours", " 1 minute" / " n minutes" and "n seconds", each only when not 0,
    // joined with " and"; "" for no difference or a negative one.
    std::string text;
};
Duration DurationText(const DateTime& start, const DateTime& end);

// Everything the window logic reaches; all outlive the TrayWindowMessages object.
struct WindowMessageServices {
    SharedValues& values;
    Trace& trace;
    IClock& clock;
    ISystemInfo& system;
    IPower& power;
    IWindows& windows;
    IProcesses& processes;
    IShell& shell;
    ICodePage& codePage;
    ITrayHost& host;
    ScheduledJobMemory& jobMemory;
    const ProductSettings& settings;
    const ExecutableNames& names;
};

class TrayWindowMessages {
  public:
    // instanceNumber: the program instance's number, which names the wake timer.
    TrayWindowMessages(const WindowMessageServices& services, std::uint64_t instanceNumber)
        : s_(services), instanceNumber_(instanceNumber) {}

    TrayWindowMessages(const TrayWindowMessages&) = delete;
    TrayWindowMessages& operator=(const TrayWindowMessages&) = delete;

    // ---- One handler per message of `TrayWindowProc`; the host calls RereadCurrentUser after each
    // message, handled or not, and then passes it on to the previous window procedure ----
    void OnPowerBroadcast(PowerEvent event) noexcept;
    // "TaskbarCreated": the taskbar was re-created.
    void OnTaskbarCreated() noexcept;
    // "CloseInteractiveWindow": the explorer asks for a logout.
    void OnCloseInteractiveWindow() noexcept;
    // The end of the logon session; sessionEnding is false when it does not end after all.
    void OnEndSession(bool sessionEnding) noexcept;
    void OnTrayMouse(TrayMouse mouse) noexcept;
    // The closing step of every message; gives the name read.
    std::string RereadCurrentUser() noexcept;

    // ---- The wake-up of a pending scheduled backup ----
    // The one-shot form timer: disables itself and, when "NextTransfer" lies ahead, waits for it.
    // Runs window messages while it waits, so it may be re-entered; a tick that arrives during a
    // wait ends that wait and starts the new one when it has ended, instead of nesting.
    void chkHibernationTimeOut_Timer() noexcept;
    // The program is ending: a running wait leaves at its next turn and no new one starts.
    void StopWaiting() noexcept { stopping_ = true; }

    // What the last keep-awake request returned.
    std::uint32_t PreviousExecutionState() const { return previousExecutionState_; }

  private:
    void PowerBroadcast();
    void EndSession(bool sessionEnding);
    void TrayMouseMessage(TrayMouse mouse);
    void HibernationCheck();
    // Arms the named wake timer for the schedule and keeps it open for the wait: closing its last
    // handle would disarm it.
    void ArmWakeTimer(std::string_view nextTransfer);
    std::unique_ptr<IWakeTimer> OpenWakeTimer();
    // The timer the notification armed, armed anew when the schedule moved since; else one opened
    // and armed here. nullptr when neither works.
    std::unique_ptr<IWakeTimer> TakeWakeTimer(const DateTime& due, std::int64_t seconds);
    // Waits until the timer fires, standby backups are switched off, a moved schedule cancels
    // the wait or the program is ending.
    void WaitForWakeTimer(const DateTime& due, std::int64_t seconds);
    bool StandbyBackupOff();

    WindowMessageServices s_;
    std::uint64_t instanceNumber_ = 0;

    // "NextTransfer" as seen at the last power notification.
    std::string rememberedNextTransfer_;
    // Set when the schedule moved; ends a pending wait.
    bool cancelWait_ = false;
    // Armed by the last power notification and not yet taken by a wait.
    std::unique_ptr<IWakeTimer> armedTimer_;
    DateTime armedFor_;
    // What the last keep-awake request returned.
    std::uint32_t previousExecutionState_ = 0;
    bool waiting_ = false;
    // A timer tick came while a wait ran: check again once that wait has ended.
    bool recheckRequested_ = false;
    bool stopping_ = false;
};

}  // namespace ovp
