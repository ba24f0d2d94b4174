// The backup service and the background engine as start-up keeps them: the service stand-in is
// a real Windows service, installed, started and stopped only through the batch files.

#include <gtest/gtest.h>

#include "base/files.h"
#include "contract/configuration.h"
#include "contract/engine_contract.h"
#include "monitor_fixture.h"
#include "win32/text_win.h"

namespace ovp::e2e {
namespace {

namespace c = contract;

class ServiceTest : public MonitorTest {
  protected:
    void SetUp() override {
        MonitorTest::SetUp();
        ASSERT_EQ(ServiceStateOf(ServiceName()), 0u)
            << names_.serviceName << " is installed already; these tests install their own stand-in";
        LayOut(standin::LayoutParts{});
    }

    // Runs one of the stand-in batch files as an installer or an administrator would, and waits.
    void RunBatch(ServiceBatch batch) {
        wchar_t system[MAX_PATH] = {};
        ::GetSystemDirectoryW(system, MAX_PATH);
        const std::filesystem::path file = app_ / PathFromUtf8(ServiceBatchFileName(batch, names_));
        ChildProcess cmd =
            ChildProcess::Start(std::filesystem::path(system) / L"cmd.exe", app_, L"/c \"" + file.wstring() + L"\"");
        ASSERT_TRUE(cmd.WaitForExit(30s));
    }

    bool WaitForServiceState(DWORD state, std::chrono::milliseconds timeout = 30s) {
        return WaitUntil([&] { return ServiceStateOf(ServiceName()) == state; }, timeout);
    }

    std::string StateTrace(std::string_view message) const {
        return "  [INFORMATION] " + names_.productWord + std::string(message);
    }
};

TEST_F(ServiceTest, MissingServiceIsInstalledAndStartedThroughTheBatchFiles) {
    ChildProcess monitor = StartMonitor();
    ASSERT_TRUE(WaitForServiceState(SERVICE_RUNNING)) << "state " << ServiceStateOf(ServiceName());
    ASSERT_TRUE(WaitForStartup(monitor));

    // It is the stand-in of this application folder that runs.
    EXPECT_NE(ServiceBinaryPathOf(ServiceName()).find((app_ / PathFromUtf8(names_.service)).wstring()),
              std::wstring::npos);
    EXPECT_NE(StandInEvents().find("service: running"), std::string::npos);
    const std::vector<std::string> texts = UserTraceTexts();
    const std::size_t notInstalled = FindLine(texts, "   [ERROR] Service is not installed");
    ASSERT_NE(notInstalled, std::string::npos);
    EXPECT_NE(FindLine(texts, "   [INFORMATION] Service installed", notInstalled), std::string::npos);
    EXPECT_EQ(FindLine(texts, "   [ERROR] " + pin_ + " Service installation failed"), std::string::npos);
}

// Before the Vista family a normal user may start the service, and start-up does so itself.
TEST_F(ServiceTest, OnOlderSystemsStartupStartsAStoppedServiceThroughTheStartBatch) {
    UseWindowsVersion(L"winxp64");
    RunBatch(ServiceBatch::Install);
    ASSERT_TRUE(WaitForServiceState(SERVICE_STOPPED)) << "the install batch did not install the stand-in";

    ChildProcess monitor = StartMonitor();
    ASSERT_TRUE(WaitForServiceState(SERVICE_RUNNING));
    ASSERT_TRUE(WaitForStartup(monitor));
    EXPECT_TRUE(UserTraceHas(StateTrace(" Service is stopped.So starting the service.")));
    EXPECT_FALSE(UserTraceHas("   [ERROR] Service is not installed"));
}

TEST_F(ServiceTest, OnOlderSystemsAPausedServiceIsStoppedAndStartedAgain) {
    UseWindowsVersion(L"winxp64");
    RunBatch(ServiceBatch::Install);
    RunBatch(ServiceBatch::Start);
    ASSERT_TRUE(WaitForServiceState(SERVICE_RUNNING));
    ASSERT_TRUE(ControlServiceNamed(ServiceName(), SERVICE_CONTROL_PAUSE));
    ASSERT_TRUE(WaitForServiceState(SERVICE_PAUSED));

    ChildProcess monitor = StartMonitor();
    // The stop batch first; the start batch ten seconds later.
    ASSERT_TRUE(WaitForServiceState(SERVICE_STOPPED, 20s));
    const auto stoppedAt = std::chrono::steady_clock::now();
    ASSERT_TRUE(WaitForServiceState(SERVICE_RUNNING, 30s));
    EXPECT_GE(std::chrono::steady_clock::now() - stoppedAt, 8s) << "started again without giving it time to stop";
    ASSERT_TRUE(WaitForStartup(monitor));
    EXPECT_TRUE(UserTraceHas(StateTrace(" Service is pasued.So starting the service.")));
    const std::string events = StandInEvents();
    const std::size_t stopped = events.find("service: stopped");
    ASSERT_NE(stopped, std::string::npos);
    EXPECT_NE(events.find("service: running", stopped), std::string::npos);
}

// From Vista on a normal user may only read the service: start-up leaves it, and the 20-second
// watcher tries the start batch on every fifth tick.
TEST_F(ServiceTest, FromVistaOnTheWatcherStartsAStoppedServiceAfterAHundredSeconds) {
    RunBatch(ServiceBatch::Install);
    ASSERT_TRUE(WaitForServiceState(SERVICE_STOPPED));

    ChildProcess monitor = StartMonitor();
    ASSERT_TRUE(WaitForStartup(monitor));
    const auto startedAt = std::chrono::steady_clock::now();
    EXPECT_EQ(ServiceStateOf(ServiceName()), static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_FALSE(UserTraceHas(StateTrace(" Service is stopped.So starting the service.")));

    ASSERT_TRUE(WaitForServiceState(SERVICE_RUNNING, 150s));
    EXPECT_GE(std::chrono::steady_clock::now() - startedAt, 80s) << "the service was examined before the fifth tick";
    EXPECT_TRUE(UserTraceHas(StateTrace(" Service is stopped.So starting the service.")));
}

TEST_F(ServiceTest, TrayZeroLaunchesTheBackgroundEngineWhichReportsStarted) {
    RunBatch(ServiceBatch::Install);
    RunBatch(ServiceBatch::Start);
    ASSERT_TRUE(WaitForServiceState(SERVICE_RUNNING));
    SetUserNameIni(c::kRegistrySection, c::kTray, c::kTrayStartBackground);

    ChildProcess monitor = StartMonitor();
    ASSERT_TRUE(WaitForStartup(monitor));
    const std::filesystem::path engine = app_ / PathFromUtf8(names_.background);
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (const RunningProcess& process : ProcessesUnder(app_)) {
                std::error_code error;
                if (std::filesystem::equivalent(process.image, engine, error)) {
                    return true;
                }
            }
            return false;
        },
        15s))
        << names_.background << " was not started from the application folder";
    EXPECT_TRUE(WaitUntil([&] { return UserNameIni(c::kOrvessaSection, c::kStarted) == "1"; }, 10s));
    EXPECT_EQ(UserNameIni(c::kOrvessaSection, c::kStandard), "1");
    EXPECT_TRUE(UserTraceHas("  [INFORMATION] " + names_.background + " is launched"));
}

}  // namespace
}  // namespace ovp::e2e
