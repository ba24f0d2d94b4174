#include "win32/windows_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "win32/unique_resource.h"

namespace ovp::win {
namespace {

constexpr UINT kProbe = WM_APP + 9;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbe || message == 0x40A) {
        reinterpret_cast<std::vector<UINT>*>(::GetWindowLongPtrW(window, GWLP_USERDATA))->push_back(message);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// Top level, as FindWindow does not see message-only windows; records what reaches it in `seen`.
unique_hwnd RecordingWindow(const wchar_t* className, const wchar_t* title, std::vector<UINT>& seen) {
    unique_hwnd window(
        ::CreateWindowExW(0, className, title, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    ::SetWindowLongPtrW(window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&seen));
    ::SetWindowLongPtrW(window.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc));
    return window;
}

TEST(WindowsWinTest, FindsByTitleClassOrBothPostsThroughTheQueueAndSendsAtOnce) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.lpszClassName = L"OVPWindowsWinTest";
    ::RegisterClassW(&windowClass);
    std::vector<UINT> seen;
    const unique_hwnd window = RecordingWindow(L"OVPWindowsWinTest", L"Tallux Backup (alice)", seen);
    const unique_hwnd dialog = RecordingWindow(L"#32770", L"Tallux ProHiddenWindow", seen);
    ASSERT_TRUE(window && dialog);

    Win32Windows windows;
    const auto handle = reinterpret_cast<WindowHandle>(window.get());
    EXPECT_EQ(windows.FindTopLevel("", "Tallux Backup (alice)"), handle);
    EXPECT_EQ(windows.FindTopLevel("OVPWindowsWinTest", ""), handle);
    EXPECT_EQ(windows.FindTopLevel("OVPWindowsWinTest", "Tallux Backup (alice)"), handle);
    EXPECT_EQ(windows.FindTopLevel("OVPWindowsWinTest", "Tallux Backup (bob)"), 0u);
    EXPECT_EQ(windows.FindTopLevel("#32770", "Tallux Backup (alice)"), 0u);
    // The engine's hidden dialog is found by the dialog class.
    const auto hidden = windows.FindTopLevel("#32770", "Tallux ProHiddenWindow");
    EXPECT_EQ(hidden, reinterpret_cast<WindowHandle>(dialog.get()));

    ASSERT_TRUE(windows.Post(hidden, 0x40A, 0, 0));
    ASSERT_TRUE(windows.Post(handle, kProbe, 0, 0));
    EXPECT_TRUE(seen.empty());
    for (MSG message{}; ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
        ::DispatchMessageW(&message);
    }
    EXPECT_EQ(seen, (std::vector<UINT>{0x40A, kProbe}));
    EXPECT_TRUE(windows.Send(handle, kProbe, 0, 0));
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_FALSE(windows.Post(0, kProbe, 0, 0));
    EXPECT_FALSE(windows.Send(0, kProbe, 0, 0));
}

}  // namespace
}  // namespace ovp::win
