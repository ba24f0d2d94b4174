// Start-up as only the real program shows it: the process that refuses to run, and two monitors
// racing for one session.

#include <gtest/gtest.h>

#include <algorithm>

#include "monitor_fixture.h"

namespace ovp::e2e {
namespace {

using StartupTest = MonitorTest;

std::vector<std::filesystem::path> TreeListing(const std::filesystem::path& root) {
    std::vector<std::filesystem::path> entries{std::filesystem::recursive_directory_iterator(root),
                                               std::filesystem::recursive_directory_iterator()};
    std::sort(entries.begin(), entries.end());
    return entries;
}

TEST_F(StartupTest, WithoutConfigurationTheProgramEndsAtOnceAndCreatesNothing) {
    standin::LayoutParts parts = NoServiceParts();
    parts.configuration = false;
    LayOut(parts);
    const std::vector<std::filesystem::path> before = TreeListing(root_);

    ChildProcess monitor = StartMonitor();
    ASSERT_TRUE(monitor.WaitForExit(kPromptExit)) << "the monitor kept running";
    EXPECT_EQ(TreeListing(root_), before);
    HKEY key = nullptr;
    EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, VendorKey().c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
}

// What the second start leaves alone is the unit tests'; here the real named mutex decides.
TEST_F(StartupTest, SecondStartEndsAtOnceAndLeavesTheFirstRunning) {
    LayOut();
    ChildProcess first = StartMonitor();
    ASSERT_TRUE(WaitForStartup(first));
    const HWND window = WaitForMainWindow(first);
    ASSERT_NE(window, nullptr);

    ChildProcess second = StartMonitor();
    ASSERT_TRUE(second.WaitForExit(kPromptExit)) << "the second monitor kept running";
    EXPECT_TRUE(first.IsRunning());
    EXPECT_TRUE(TrayIconPresent(window, 0));
}

}  // namespace
}  // namespace ovp::e2e
