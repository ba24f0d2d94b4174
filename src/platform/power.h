#pragma once
// Port: the power manager. Keep-awake requests, and the named wake timer that brings a suspended
// computer back for a scheduled backup.

#include <cstdint>
#include <memory>
#include <string_view>

namespace ovp {

enum class ExecutionRequest {
    // The system must not sleep while this thread runs (system-required together with continuous).
    SystemRequiredContinuous,
    // Withdraws an earlier system-required request (continuous only).
    ContinuousOnly,
    // Resets the system's idle timer once, without holding it (system-required alone).
    SystemRequiredOnce,
};

// Why a wait for the wake timer came back.
enum class WakeWaitResult {
    Timer,   // the timer fired
    Input,   // a window message arrived for the waiting thread
    Quit,    // the thread's message loop is ending (a quit message is pending)
    Failed,  // the wait itself failed; waiting again would fail again
};

// One open handle on a named, manual-reset waitable timer; closed when destroyed.
class IWakeTimer {
  public:
    virtual ~IWakeTimer() = default;
    // Arms the timer once with due time 0, then `seconds` from now, with no period and with
    // "resume", so that it wakes a suspended computer. False when the system refuses.
    virtual bool Arm(std::int64_t seconds) = 0;
    // Blocks until the timer fires or a window message arrives for this thread. No time-out.
    virtual WakeWaitResult WaitForTimerOrInput() = 0;
};

class IPower {
  public:
    virtual ~IPower() = default;
    // The previous execution state; 0 when the request failed.
    virtual std::uint32_t RequestExecutionState(ExecutionRequest request) = 0;
    // Creates the timer, or opens the existing one of that name; nullptr when neither works.
    virtual std::unique_ptr<IWakeTimer> OpenWakeTimer(std::string_view name) = 0;
};

}  // namespace ovp
