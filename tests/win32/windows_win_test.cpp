#include "win32/windows_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "win32/unique_resource.h"

namespace ovp::win {
namespace {

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE || message == 0x40A) {
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

TEST(WindowsWinTest, FindsTheEnginesDialogAndTheClientTellsTheOneAndClosesTheOther) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.lpszClassName = L"OVPWindowsWinTest";
    ::RegisterClassW(&windowClass);
    std::vector<UINT> seen;
    const unique_hwnd window = RecordingWindow(L"OVPWindowsWinTest", L"Tallux Backup (alice)", seen);
    const unique_hwnd dialog = RecordingWindow(L"#32770", L"Tallux ProHiddenWindow", seen);
    const unique_hwnd lookalike = RecordingWindow(L"OVPWindowsWinTest", L"Tallux Pro2HiddenWindow", seen);
    ASSERT_TRUE(window && dialog && lookalike);

    Win32Windows windows;
    const auto handle = reinterpret_cast<WindowHandle>(window.get());
    EXPECT_EQ(windows.FindTopLevel("Tallux Backup (alice)"), handle);
    EXPECT_EQ(windows.FindTopLevel("Tallux Backup (bob)"), 0u);
    // The engine's hidden dialog is found by the dialog class as well as its title.
    const auto hidden = windows.FindEngineHiddenDialog("Tallux ProHiddenWindow");
    EXPECT_EQ(hidden, reinterpret_cast<WindowHandle>(dialog.get()));
    EXPECT_EQ(windows.FindEngineHiddenDialog("Tallux Pro2HiddenWindow"), 0u);

    ASSERT_TRUE(windows.PostSessionEnd(hidden));
    EXPECT_TRUE(seen.empty());
    for (MSG message{}; ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
        ::DispatchMessageW(&message);
    }
    EXPECT_EQ(seen, std::vector<UINT>{0x40A});
    EXPECT_TRUE(windows.Close(handle));
    EXPECT_EQ(seen, (std::vector<UINT>{0x40A, WM_CLOSE}));
    EXPECT_FALSE(windows.PostSessionEnd(0));
    EXPECT_FALSE(windows.Close(0));
}

}  // namespace
}  // namespace ovp::win
