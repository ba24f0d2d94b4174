#include "win32/power_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/window_messages.h"
#include "support/fake_code_page.h"
#include "support/fake_processes.h"
#include "support/fake_windows.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "win32/clock_win.h"
#include "win32/unique_resource.h"

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

TEST(PowerWinTest, WakeTimerFiresAfterItsSecondsAndTheWaitSaysTimer) {
    DrainQueue();
    Win32Power power;
    const auto timer = power.OpenWakeTimer(UniqueTimerName("fires"));
    ASSERT_TRUE(timer);
    const ULONGLONG start = ::GetTickCount64();
    ASSERT_TRUE(timer->Arm(1));
    EXPECT_EQ(WaitPastInput(*timer), WakeWaitResult::Timer);
    const ULONGLONG elapsed = ::GetTickCount64() - start;
    EXPECT_GE(elapsed, 900u);
    EXPECT_LT(elapsed, 2500u);
    // Manual reset: a fired timer stays signalled, so a later wait does not block.
    EXPECT_EQ(timer->WaitForTimerOrInput(), WakeWaitResult::Timer);
}

TEST(PowerWinTest, SecondOpenOfTheNameReachesTheSameTimerAndRearmingResetsIt) {
    DrainQueue();
    Win32Power power;
    const std::string name = UniqueTimerName("shared");
    const auto first = power.OpenWakeTimer(name);
    const auto second = power.OpenWakeTimer(name);
    ASSERT_TRUE(first && second);
    ASSERT_TRUE(first->Arm(0));
    EXPECT_EQ(first->WaitForTimerOrInput(), WakeWaitResult::Timer);
    // Re-armed through the other handle: no longer signalled until the new due time.
    const ULONGLONG start = ::GetTickCount64();
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

// The wake-up wait of the window logic on the real timer, clock and message queue.
class WakeWaitOnWin32Test : public ::testing::Test {
  protected:
    void SetUp() override {
        DrainQueue();
        users_.WriteCurrentUserName("alice");
        std::filesystem::create_directories(folders_.UserFolder("alice"));
    }

    class NullHost : public ITrayHost {
      public:
        void RemoveTrayIcon() override {}
        void RefreshFormIcon() override {}
        void AddTrayIcon() override {}
        void EnableHibernationTimer(bool) override {}
        void ShowTrayMenu(bool) override {}
        void ExplorerLogout() override {}
    };

    test::TempDir temp_;
    Folders folders_{temp_.Path(), "Tallux Pro"};
    test::FakeProfileStore store_;
    test::FakeRegistry registry_;
    test::FakeTraceSink sink_;
    Win32Clock clock_;
    test::FakeSystemInfo system_;
    CurrentUser users_{store_, folders_};
    SharedValues values_{registry_, store_, folders_, users_, sink_};
    Trace trace_{folders_, users_, clock_};
    Win32Power power_;
    test::FakeWindows windows_;
    test::FakeProcesses processes_;
    test::FakeShell shell_;
    test::FakeCodePage codePage_;
    NullHost host_;
    ScheduledJobMemory jobMemory_;
    ProductSettings settings_;
    ExecutableNames names_;
    TrayWindowMessages messages_{{values_, trace_, clock_, system_, power_, windows_, processes_, shell_, codePage_,
                                  host_, jobMemory_, settings_, names_},
                                 ::GetCurrentProcessId()};
};

TEST_F(WakeWaitOnWin32Test, WaitEndsWhenTheTimerFires) {
    const ULONGLONG start = ::GetTickCount64();
    messages_.WaitableTimerWait(1);
    const ULONGLONG elapsed = ::GetTickCount64() - start;
    // The timer after 1 s, then the one-second pump that follows every wake.
    EXPECT_GE(elapsed, 1900u);
    EXPECT_LT(elapsed, 4000u);
    EXPECT_FALSE(messages_.IsWaiting());
}

LRESULT CALLBACK QuitOnProbe(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP + 4) {
        ::PostQuitMessage(5);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(WakeWaitOnWin32Test, QuitPostedByAWindowDuringThePumpEndsTheWait) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = QuitOnProbe;
    windowClass.lpszClassName = L"OVPPowerWinQuitProbe";
    ::RegisterClassW(&windowClass);
    unique_hwnd window(
        ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    ASSERT_TRUE(window);
    // The message wakes the wait; the pump that follows runs the window, which asks to quit.
    ::PostMessageW(window.get(), WM_APP + 4, 0, 0);
    const ULONGLONG start = ::GetTickCount64();
    messages_.WaitableTimerWait(3600);
    const ULONGLONG elapsed = ::GetTickCount64() - start;
    EXPECT_GE(elapsed, 900u);
    EXPECT_LT(elapsed, 3500u);
    MSG message{};
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 5u);
    // A tick after the quit starts no new wait.
    const ULONGLONG again = ::GetTickCount64();
    messages_.WaitableTimerWait(3600);
    EXPECT_LT(::GetTickCount64() - again, 500u);
}

}  // namespace
}  // namespace ovp::win
