// The monitor as only the real program shows it: the process that refuses to run, two monitors
// racing for one session and the way out. (A re-created taskbar is the main window's test: the
// window is found as a top-level window and answers "TaskbarCreated" with its icon.)

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
    const HWND window = WaitForMainWindow(first);
    ASSERT_NE(window, nullptr);

    ASSERT_TRUE(StartMonitor().Exit(kPromptExit)) << "the second monitor kept running";
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(TrayIconPresent(window));
}

using ExitTest = MonitorTest;

TEST_F(ExitTest, FromTheTrayMenuRemovesTheIconAndEndsCleanly) {
    LayOut();
    const Child monitor = StartMonitor();
    const HWND window = WaitForMainWindow(monitor);
    ASSERT_NE(window, nullptr) << "the monitor has no main form";
    ASSERT_TRUE(TrayIconPresent(window));

    ASSERT_TRUE(::PostMessageW(window, WM_COMMAND, CommandId(TrayMenuItem::MnuExit), 0));
    EXPECT_EQ(monitor.Exit(kPromptExit), std::optional<DWORD>(0)) << "the monitor did not end cleanly on Exit";
    EXPECT_FALSE(TrayIconPresent(window)) << "the icon was left behind in the notification area";
}

}  // namespace
}  // namespace ovp::e2e
