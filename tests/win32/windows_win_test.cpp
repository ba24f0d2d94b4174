#include "win32/windows_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "win32/unique_resource.h"

namespace ovp::win {
namespace {

constexpr UINT kProbe = WM_APP + 9;

std::vector<UINT>* g_seen = nullptr;  // the test's record; set only while a test runs

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbe || message == 0x40A) {
        if (g_seen != nullptr) {
            g_seen->push_back(message);
        }
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void Pump() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::DispatchMessageW(&message);
    }
}

class WindowsWinTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_seen = &seen_;
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.lpszClassName = L"OVPWindowsWinTest";
        ::RegisterClassW(&windowClass);
        // Top level: FindWindow does not see message-only windows.
        window_.reset(::CreateWindowExW(0, windowClass.lpszClassName, L"Tallux Backup (alice)", WS_POPUP, 0, 0, 10, 10,
                                        nullptr, nullptr, nullptr, nullptr));
        ASSERT_TRUE(window_);
    }
    void TearDown() override {
        window_.reset();
        g_seen = nullptr;
    }

    Win32Windows windows_;
    unique_hwnd window_;
    std::vector<UINT> seen_;
};

TEST_F(WindowsWinTest, FindsByTitleByClassOrBothAndNothingElse) {
    const auto expected = reinterpret_cast<WindowHandle>(window_.get());
    EXPECT_EQ(windows_.FindTopLevel("", "Tallux Backup (alice)"), expected);
    EXPECT_EQ(windows_.FindTopLevel("OVPWindowsWinTest", ""), expected);
    EXPECT_EQ(windows_.FindTopLevel("OVPWindowsWinTest", "Tallux Backup (alice)"), expected);
    EXPECT_EQ(windows_.FindTopLevel("OVPWindowsWinTest", "Tallux Backup (bob)"), 0u);
    EXPECT_EQ(windows_.FindTopLevel("#32770", "Tallux Backup (alice)"), 0u);
}

TEST_F(WindowsWinTest, PostArrivesThroughTheQueueAndSendAtOnce) {
    const auto handle = windows_.FindTopLevel("", "Tallux Backup (alice)");
    ASSERT_TRUE(windows_.Post(handle, kProbe, 0, 0));
    EXPECT_TRUE(seen_.empty());
    Pump();
    EXPECT_EQ(seen_, std::vector<UINT>{kProbe});

    EXPECT_TRUE(windows_.Send(handle, kProbe, 0, 0));
    EXPECT_EQ(seen_.size(), 2u);

    EXPECT_FALSE(windows_.Post(0, kProbe, 0, 0));
    EXPECT_FALSE(windows_.Send(0, kProbe, 0, 0));
}

TEST_F(WindowsWinTest, TheEnginesHiddenDialogIsFoundByTheDialogClass) {
    unique_hwnd dialog(::CreateWindowExW(0, L"#32770", L"Tallux ProHiddenWindow", WS_POPUP, 0, 0, 10, 10, nullptr,
                                         nullptr, nullptr, nullptr));
    ASSERT_TRUE(dialog);
    ::SetWindowLongPtrW(dialog.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc));
    const auto handle = windows_.FindTopLevel("#32770", "Tallux ProHiddenWindow");
    EXPECT_EQ(handle, reinterpret_cast<WindowHandle>(dialog.get()));
    ASSERT_TRUE(windows_.Post(handle, 0x40A, 0, 0));
    Pump();
    EXPECT_EQ(seen_, std::vector<UINT>{0x40A});
}

}  // namespace
}  // namespace ovp::win
