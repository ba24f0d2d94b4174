// The monitor's window as the shell talks to it: the re-created taskbar and the way out.

#include <windows.h>

#include <shellapi.h>

#include <thread>

#include <gtest/gtest.h>

#include "context/tray_menu_model.h"
#include "monitor_fixture.h"

namespace ovp::e2e {
namespace {

class SessionTest : public MonitorTest {
  protected:
    void SetUp() override {
        MonitorTest::SetUp();
        LayOut();
        monitor_ = StartMonitor();
        ASSERT_TRUE(WaitForStartup(monitor_));
        window_ = WaitForMainWindow(monitor_);
        ASSERT_NE(window_, nullptr) << "the monitor has no main form";
        ASSERT_TRUE(TrayIconPresent(window_, 0));
    }

    ChildProcess monitor_;
    HWND window_ = nullptr;
};

TEST_F(SessionTest, BroadcastTaskbarCreatedBringsTheIconBack) {
    // Explorer restarted: the new taskbar knows no icons and tells every top-level window.
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window_;
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &data));
    // Nothing else brings it back (two status ticks pass).
    std::this_thread::sleep_for(4500ms);
    ASSERT_FALSE(TrayIconPresent(window_, 0));
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 10000,
                          &answer);

    EXPECT_TRUE(WaitUntil([&] { return TrayIconPresent(window_, 0); }, 10s));
    EXPECT_TRUE(monitor_.IsRunning());
}

TEST_F(SessionTest, ExitFromTheTrayMenuRemovesTheIconAndEndsCleanly) {
    ASSERT_TRUE(::PostMessageW(window_, WM_COMMAND, CommandId(TrayMenuItem::MnuExit), 0));
    ASSERT_TRUE(monitor_.WaitForExit(15s)) << "the monitor did not end on Exit";
    EXPECT_EQ(monitor_.ExitCode(), std::optional<DWORD>(0));
    EXPECT_FALSE(TrayIconPresent(window_, 0)) << "the icon was left behind in the notification area";
}

}  // namespace
}  // namespace ovp::e2e
