// Start-up as only the real program shows it: the process that refuses to run, and two monitors
// racing for one session.

#include <gtest/gtest.h>

#include "base/files.h"
#include "contract/engine_contract.h"
#include "monitor_fixture.h"

namespace ovp::e2e {
namespace {

using StartupTest = MonitorTest;

TEST_F(StartupTest, WithoutConfigurationTheProgramEndsAtOnceAndCreatesNothing) {
    standin::LayoutParts parts = NoServiceParts();
    parts.configuration = false;
    LayOut(parts);
    const std::vector<std::string> before = TreeListing(root_);

    ChildProcess monitor = StartMonitor();
    ASSERT_TRUE(monitor.WaitForExit(kPromptExit)) << "the monitor kept running";
    EXPECT_EQ(TreeListing(root_), before);
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, VendorKey()));
}

TEST_F(StartupTest, SecondStartEndsAtOnceAndLeavesTheFirstUntouched) {
    LayOut();
    ChildProcess first = StartMonitor();
    ASSERT_TRUE(WaitForStartup(first));
    const HWND window = WaitForMainWindow(first);
    ASSERT_NE(window, nullptr);
    const std::vector<std::string> traceBefore = UserTraceTexts();
    ASSERT_FALSE(traceBefore.empty());

    ChildProcess second = StartMonitor();
    ASSERT_TRUE(second.WaitForExit(kPromptExit)) << "the second monitor kept running";

    EXPECT_TRUE(first.IsRunning());
    EXPECT_TRUE(::IsWindow(window));
    EXPECT_TRUE(TrayIconPresent(window, 0));
    // The first monitor's trace was neither restarted nor replaced by the second start.
    const std::vector<std::string> traceAfter = UserTraceTexts();
    ASSERT_GE(traceAfter.size(), traceBefore.size());
    EXPECT_TRUE(std::equal(traceBefore.begin(), traceBefore.end(), traceAfter.begin()));
    EXPECT_EQ(FindLine(traceAfter, "  [INFORMATION] Started Tray...", 1), std::string::npos)
        << "the second start wrote its own start-up trace";
}

}  // namespace
}  // namespace ovp::e2e
