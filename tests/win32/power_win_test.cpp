#include "win32/power_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace ovp::win {
namespace {

std::string UniqueTimerName(std::string_view what) {
    return "OVPPowerTest" + std::string(what) + std::to_string(::GetCurrentProcessId());
}

// Takes whatever is queued for this thread, so one test's messages do not reach the next.
void DrainQueue() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

// Waits like the wake-up loop does: input is taken and the wait resumed, until the timer fires.
WakeWaitResult WaitPastInput(IWakeTimer& timer) {
    for (int turn = 0; turn < 1000; ++turn) {
        const WakeWaitResult result = timer.WaitForTimerOrInput();
        if (result != WakeWaitResult::Input) {
            return result;
        }
        DrainQueue();
    }
    return WakeWaitResult::Failed;
}

TEST(PowerWinTest, WakeTimerFiresAfterItsSecondsStaysSignalledAndIsSharedByName) {
    DrainQueue();
    Win32Power power;
    const std::string name = UniqueTimerName("shared");
    const auto first = power.OpenWakeTimer(name);
    const auto second = power.OpenWakeTimer(name);
    ASSERT_TRUE(first && second);
    ULONGLONG start = ::GetTickCount64();
    ASSERT_TRUE(first->Arm(1));
    EXPECT_EQ(WaitPastInput(*first), WakeWaitResult::Timer);
    EXPECT_GE(::GetTickCount64() - start, 900u);
    EXPECT_LT(::GetTickCount64() - start, 2500u);
    // Manual reset: a fired timer stays signalled, so a later wait does not block.
    EXPECT_EQ(first->WaitForTimerOrInput(), WakeWaitResult::Timer);
    // Re-armed through the other handle: no longer signalled until the new due time.
    start = ::GetTickCount64();
    ASSERT_TRUE(second->Arm(2));
    EXPECT_EQ(WaitPastInput(*first), WakeWaitResult::Timer);
    EXPECT_GE(::GetTickCount64() - start, 1900u);
}

TEST(PowerWinTest, QueuedInputAndAPendingQuitEndTheWait) {
    DrainQueue();
    Win32Power power;
    const auto timer = power.OpenWakeTimer(UniqueTimerName("input"));
    ASSERT_TRUE(timer && timer->Arm(3600));

    ASSERT_TRUE(::PostThreadMessageW(::GetCurrentThreadId(), WM_APP + 3, 0, 0));
    EXPECT_EQ(timer->WaitForTimerOrInput(), WakeWaitResult::Input);
    DrainQueue();

    ::PostQuitMessage(7);
    EXPECT_EQ(timer->WaitForTimerOrInput(), WakeWaitResult::Quit);
    // The quit stays queued for the program's own loop.
    MSG message{};
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 7u);
}

TEST(PowerWinTest, ExecutionStateRequestsAnswerThePreviousState) {
    Win32Power power;
    power.RequestExecutionState(ExecutionRequest::SystemRequiredContinuous);
    const std::uint32_t previous = power.RequestExecutionState(ExecutionRequest::ContinuousOnly);
    EXPECT_EQ(previous & (ES_SYSTEM_REQUIRED | ES_CONTINUOUS),
              static_cast<std::uint32_t>(ES_SYSTEM_REQUIRED | ES_CONTINUOUS));
    EXPECT_EQ(power.RequestExecutionState(ExecutionRequest::ContinuousOnly) & ES_SYSTEM_REQUIRED, 0u);
}

}  // namespace
}  // namespace ovp::win
