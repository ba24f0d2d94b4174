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

TEST(ClockWinTest, WaitPumpingRunsMessagesForTheWholeWaitAndPostsASeenQuitAgain) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = CountProbes;
    windowClass.lpszClassName = L"OVPClockWinTest";
    ::RegisterClassW(&windowClass);
    const unique_hwnd window(
        ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    ASSERT_TRUE(window);
    int probes = 0;
    ::SetWindowLongPtrW(window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&probes));
    ::PostMessageW(window.get(), kProbe, 0, 0);
    ::PostQuitMessage(7);
    std::thread poster([handle = window.get()] {
        ::Sleep(50);
        ::PostMessageW(handle, kProbe, 0, 0);
    });

    Win32Clock clock;
    const auto start = clock.TickMs();
    clock.WaitPumping(400);
    const auto elapsed = clock.TickMs() - start;
    poster.join();
    EXPECT_EQ(probes, 2);
    EXPECT_GE(elapsed, 400u);
    EXPECT_LT(elapsed, 2000u);
    MSG message{};
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
}  // namespace ovp::win
