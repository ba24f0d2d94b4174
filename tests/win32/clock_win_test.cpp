#include "win32/clock_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "win32/unique_resource.h"

namespace ovp::win {
namespace {

constexpr UINT kProbe = WM_APP + 7;

LRESULT CALLBACK CountProbes(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbe) {
        ++*reinterpret_cast<int*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

class ClockWinTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = CountProbes;
        windowClass.lpszClassName = L"OVPClockWinTest";
        ::RegisterClassW(&windowClass);
        window_.reset(::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        nullptr, nullptr));
        ASSERT_TRUE(window_);
        ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&probes_));
    }

    Win32Clock clock_;
    unique_hwnd window_;
    int probes_ = 0;
};

TEST_F(ClockWinTest, WaitPumpingRunsMessagesThatArriveDuringTheWait) {
    std::thread poster([window = window_.get()] {
        ::Sleep(50);
        ::PostMessageW(window, kProbe, 0, 0);
    });
    const auto start = clock_.TickMs();
    clock_.WaitPumping(400);
    const auto elapsed = clock_.TickMs() - start;
    poster.join();
    EXPECT_EQ(probes_, 1);
    EXPECT_GE(elapsed, 400u);
    EXPECT_LT(elapsed, 2000u);
}

TEST_F(ClockWinTest, AQuitSeenDuringTheWaitIsPostedAgain) {
    ::PostMessageW(window_.get(), kProbe, 0, 0);
    ::PostQuitMessage(7);
    clock_.WaitPumping(30);
    EXPECT_EQ(probes_, 1);
    MSG message{};
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
}  // namespace ovp::win
