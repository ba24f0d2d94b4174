// The monitor as only the real program shows it: the process that refuses to run, two monitors
// racing for one session, the re-created taskbar and the way out.

#include <algorithm>

#include "monitor_fixture.h"

namespace ovp::e2e {
namespace {

using StartupTest = MonitorTest;

TEST_F(StartupTest, WithoutConfigurationTheProgramEndsAtOnceAndCreatesNothing) {
    LayOut(false);
    const auto listing = [&] {
        std::vector<std::filesystem::path> entries{std::filesystem::recursive_directory_iterator(root_),
                                                   std::filesystem::recursive_directory_iterator()};
        std::sort(entries.begin(), entries.end());
        return entries;
    };
    const std::vector<std::filesystem::path> before = listing();

    ASSERT_TRUE(StartMonitor().Exit(kPromptExit)) << "the monitor kept running";
    EXPECT_EQ(listing(), before);
    HKEY key = nullptr;
    EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, VendorKey().c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
}

// What the second start leaves alone is the unit tests'; here the real named mutex decides.
TEST_F(StartupTest, SecondStartEndsAtOnceAndLeavesTheFirstRunning) {
    LayOut();
    const Child first = StartMonitor();
    ASSERT_TRUE(WaitForStartup(first));
    const HWND window = WaitForMainWindow(first);
    ASSERT_NE(window, nullptr);

    ASSERT_TRUE(StartMonitor().Exit(kPromptExit)) << "the second monitor kept running";
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(TrayIconPresent(window));
}

class SessionTest : public MonitorTest {
  protected:
    void SetUp() override {
        MonitorTest::SetUp();
        LayOut();
        monitor_ = StartMonitor();
        ASSERT_TRUE(WaitForStartup(monitor_));
        window_ = WaitForMainWindow(monitor_);
        ASSERT_NE(window_, nullptr) << "the monitor has no main form";
        ASSERT_TRUE(TrayIconPresent(window_));
    }

    Child monitor_;
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
    ASSERT_FALSE(TrayIconPresent(window_));
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 10000,
                          &answer);

    EXPECT_TRUE(WaitUntil([&] { return TrayIconPresent(window_); }, 10s));
    EXPECT_TRUE(monitor_.Running());
}

TEST_F(SessionTest, ExitFromTheTrayMenuRemovesTheIconAndEndsCleanly) {
    ASSERT_TRUE(::PostMessageW(window_, WM_COMMAND, CommandId(TrayMenuItem::MnuExit), 0));
    EXPECT_EQ(monitor_.Exit(kPromptExit), std::optional<DWORD>(0)) << "the monitor did not end cleanly on Exit";
    EXPECT_FALSE(TrayIconPresent(window_)) << "the icon was left behind in the notification area";
}

}  // namespace
}  // namespace ovp::e2e
