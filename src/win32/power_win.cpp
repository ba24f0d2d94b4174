#include "win32/power_win.h"

#include <windows.h>

#include <limits>

#include "win32/text_win.h"
#include "win32/unique_resource.h"

namespace ovp::win {

namespace {

// Due times are counted in units of 100 ns.
constexpr std::int64_t kUnitsPerSecond = 10'000'000;

class Win32WakeTimer final : public IWakeTimer {
  public:
    explicit Win32WakeTimer(unique_handle timer) : timer_(std::move(timer)) {}

    bool Arm(std::int64_t seconds) override {
        // A reused manual-reset timer may still be signalled from its last due time.
        LARGE_INTEGER due{};
        due.QuadPart = 0;
        ::SetWaitableTimer(timer_.get(), &due, 0, nullptr, nullptr, TRUE);
        // A negative due time is relative; the largest count that still fits is thousands of years.
        constexpr std::int64_t kMaxSeconds = std::numeric_limits<std::int64_t>::max() / kUnitsPerSecond;
        const std::int64_t clamped = seconds < 0 ? 0 : (seconds > kMaxSeconds ? kMaxSeconds : seconds);
        due.QuadPart = -(clamped * kUnitsPerSecond);
        return ::SetWaitableTimer(timer_.get(), &due, 0, nullptr, nullptr, TRUE) != FALSE;
    }

    WakeWaitResult WaitForTimerOrInput() override {
        // The message pump of the caller puts a quit message it meets back into the queue; once
        // it is there, no further wait may block the ending program.
        MSG pending{};
        if (::PeekMessageW(&pending, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) {
            return WakeWaitResult::Quit;
        }
        HANDLE handles[] = {timer_.get()};
        // MWMO_INPUTAVAILABLE: input already queued but not yet seen also ends the wait.
        const DWORD result = ::MsgWaitForMultipleObjectsEx(1, handles, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (result == WAIT_OBJECT_0) {
            return WakeWaitResult::Timer;
        }
        if (result == WAIT_OBJECT_0 + 1) {
            return WakeWaitResult::Input;
        }
        return WakeWaitResult::Failed;
    }

  private:
    unique_handle timer_;
};

}  // namespace

std::uint32_t Win32Power::RequestExecutionState(ExecutionRequest request) {
    EXECUTION_STATE state = ES_CONTINUOUS;
    switch (request) {
        case ExecutionRequest::SystemRequiredContinuous:
            state = ES_SYSTEM_REQUIRED | ES_CONTINUOUS;
            break;
        case ExecutionRequest::SystemRequiredOnce:
            state = ES_SYSTEM_REQUIRED;
            break;
        case ExecutionRequest::ContinuousOnly:
            break;
    }
    return static_cast<std::uint32_t>(::SetThreadExecutionState(state));
}

std::unique_ptr<IWakeTimer> Win32Power::OpenWakeTimer(std::string_view name) {
    // Creates the timer or, when one of that name exists, opens it (manual reset either way).
    unique_handle timer(::CreateWaitableTimerW(nullptr, TRUE, Wide(name).c_str()));
    if (!timer) {
        return nullptr;
    }
    return std::make_unique<Win32WakeTimer>(std::move(timer));
}

}  // namespace ovp::win
