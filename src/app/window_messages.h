#pragma once
// The messages of the hidden main window (`TrayWindowProc`) and the standby wake-up of a pending
// scheduled backup (`chkHibernationTimeOut` and the waitable-timer wait).
//
// The host's window procedure hands every message to HandleMessage and then passes it on to the
// previous window procedure; the one-shot 1000 ms form timer calls chkHibernationTimeOut_Timer.
// Nothing here throws out to the caller: each handler swallows its own failures.

#include <cstdint>
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
#include "platform/windows.h"
#include "scheduler/job_control.h"
#include "settings/shared_values.h"

namespace ovp {

// ---- Message numbers --------------------------------------------------------------------------
inline constexpr std::uint32_t kWmPowerBroadcast = 0x218;
inline constexpr std::uintptr_t kPowerEventQuerySuspend = 0;
inline constexpr std::uintptr_t kPowerEventSuspend = 4;
inline constexpr std::uint32_t kWmEndSession = 0x16;
inline constexpr std::uint32_t kWmClose = 0x10;
// The private message whose second parameter carries a mouse message number.
inline constexpr std::uint32_t kWmTrayMouse = 0x7E9;
inline constexpr std::intptr_t kWmLButtonDblClk = 0x203;
inline constexpr std::intptr_t kWmRButtonUp = 0x205;
// Posted to the engine's hidden dialog when the logon session ends.
inline constexpr std::uint32_t kWmHiddenWindowSessionEnd = 0x40A;
// The names of the registered messages; the host registers them and passes their numbers in.
inline constexpr std::string_view kTaskbarCreatedMessage = "TaskbarCreated";
inline constexpr std::string_view kCloseInteractiveWindowMessage = "CloseInteractiveWindow";

// The engine's hidden dialog: this class, titled installation name + the suffix.
inline constexpr std::string_view kDialogClassName = "#32770";
inline constexpr std::string_view kHiddenWindowSuffix = "HiddenWindow";
// The wake timer is named this + the program instance's number.
inline constexpr std::string_view kWakeTimerPrefix = "Timer";
// The user's session logs: user folder + "\" + this.
inline constexpr std::string_view kSessionFolder = "Session";
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

    // The numbers the system gave the registered messages "TaskbarCreated" and
    // "CloseInteractiveWindow" (0 for one that could not be registered: it then matches nothing).
    void SetRegisteredMessages(std::uint32_t taskbarCreated, std::uint32_t closeInteractiveWindow);

    // `TrayWindowProc` before the previous window procedure: the handler of the message, if any,
    // then the re-read of the current user. The caller passes the message on afterwards.
    void HandleMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) noexcept;

    // ---- One handler per message, in the order HandleMessage tests them ----
    // 0x218 with event 0 (suspend query) or 4 (suspend); other events are ignored.
    void OnPowerBroadcast(std::uintptr_t powerEvent) noexcept;
    void OnTaskbarCreated() noexcept;
    void OnCloseInteractiveWindow() noexcept;
    // 0x16; sessionEnding is its first parameter (0 when the session does not end after all).
    void OnEndSession(std::uintptr_t sessionEnding) noexcept;
    // 0x7E9; mouseMessage is its second parameter.
    void OnTrayMouseMessage(std::intptr_t mouseMessage) noexcept;
    // The closing step of every message; gives the name read.
    std::string RereadCurrentUser() noexcept;

    // ---- The wake-up of a pending scheduled backup ----
    // The one-shot form timer: disables itself and, when "NextTransfer" lies ahead, waits for it.
    // Runs window messages while it waits, so it may be re-entered; a tick that arrives during a
    // wait ends that wait and starts the new one when it has ended, instead of nesting.
    void chkHibernationTimeOut_Timer() noexcept;
    // Arms the wake timer `seconds` ahead and waits until it fires, standby backups are switched
    // off, a moved schedule cancels the wait or the program is ending.
    void WaitableTimerWait(std::int64_t seconds) noexcept;
    // The program is ending: a running wait leaves at its next turn and no new one starts.
    void StopWaiting() noexcept { stopping_ = true; }

    // ---- State, for the host and for tests ----
    const std::string& RememberedNextTransfer() const { return rememberedNextTransfer_; }
    bool IsWaitCancelRequested() const { return cancelWait_; }
    std::uint32_t PreviousExecutionState() const { return previousExecutionState_; }
    bool IsWaiting() const { return waiting_; }

  private:
    void PowerBroadcast();
    void EndSession(std::uintptr_t sessionEnding);
    void TrayMouseMessage(std::intptr_t mouseMessage);
    void HibernationCheck();
    void WaitForWakeTimer(std::int64_t seconds);
    bool StandbyBackupOff();

    WindowMessageServices s_;
    std::uint64_t instanceNumber_ = 0;
    std::uint32_t taskbarCreatedMessage_ = 0;
    std::uint32_t closeInteractiveWindowMessage_ = 0;

    // "NextTransfer" as seen at the last power notification.
    std::string rememberedNextTransfer_;
    // Set when the schedule moved; ends a pending wait.
    bool cancelWait_ = false;
    // What the last keep-awake request returned.
    std::uint32_t previousExecutionState_ = 0;
    bool waiting_ = false;
    // A timer tick came while a wait ran: check again once that wait has ended.
    bool recheckRequested_ = false;
    bool stopping_ = false;
};

}  // namespace ovp
