#include "app/service_control.h"

#include <gtest/gtest.h>

#include "app/configuration.h"
#include "app/engine_contract.h"
#include "support/fake_processes.h"
#include "support/fakes.h"

namespace ovp {
namespace {

using test::FakeClock;
using test::FakeProcesses;
using test::FakeProfileStore;
using test::FakeRegistry;
using test::FakeServiceManager;
using test::FakeShell;
using test::FakeSystemInfo;
using test::FakeTraceSink;

constexpr OsVersion kXp{true, 5, 1, 2600};
constexpr OsVersion kSeven{true, 6, 1, 7601};
constexpr OsVersion kEleven{true, 10, 0, 22631};

// Remembers how many blocking waits had passed when each request reached the shell.
class OrderedShell : public FakeShell {
  public:
    explicit OrderedShell(FakeClock& clock) : clock_(clock) {}
    ShellResult Execute(const ShellRequest& request) override {
        sleepsBefore.push_back(clock_.sleeps.size());
        return FakeShell::Execute(request);
    }
    std::vector<std::size_t> sleepsBefore;

  private:
    FakeClock& clock_;
};

ProductSettings Product(int number) {
    ProductSettings settings;
    settings.productNumber = number;
    settings.installationName = "Kesh Backup";
    settings.exeGroup = "Kesh";
    return settings;
}

class ServiceControlTest : public ::testing::Test {
  protected:
    ServiceControlTest() { system_.version = kXp; }

    void SetServiceState(int state) { services_.states[names_.serviceName] = state; }
    std::filesystem::path App(const char* name) const { return folders_.AppFolder() / name; }
    std::vector<std::filesystem::path> RequestedFiles() const {
        std::vector<std::filesystem::path> files;
        for (const ShellRequest& request : shell_.requests) {
            files.push_back(request.file);
        }
        return files;
    }

    Folders folders_{"C:/App", "Kesh Backup"};
    ExecutableNames names_ = BuildExecutableNames(Product(2));
    FakeServiceManager services_;
    FakeProcesses processes_;
    FakeClock clock_;
    OrderedShell shell_{clock_};
    FakeSystemInfo system_;
    FakeTraceSink trace_;
    FakeRegistry registry_;
    FakeProfileStore store_;
    CurrentUser users_{store_, folders_};
    SharedValues values_{registry_, store_, folders_, users_, trace_};
    ServiceRunState runState_;
    ServiceControl control_{{services_, processes_, shell_, clock_, system_, trace_},
                            folders_,
                            names_,
                            values_,
                            runState_};
};

TEST_F(ServiceControlTest, EachStateThatIsNotRunningIsTracedAndStartedOnce) {
    struct Case {
        int state;
        const char* trace;
        bool stopFirst;
    };
    const Case cases[] = {
        {1, "  [INFORMATION] Kesh Service is stopped.So starting the service.", false},
        {2, "  [INFORMATION] Kesh Service is start pending.So starting the service.", false},
        {3, "  [INFORMATION] Kesh Service is stop pending.So starting the service.", true},
        {5, "  [INFORMATION] Kesh Service continue pending.So starting the service.", false},
        {6, "  [INFORMATION] Kesh Service is pause pending.So starting the service.", false},
        {7, "  [INFORMATION] Kesh Service is pasued.So starting the service.", true},
    };
    int expectedCount = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        trace_.lines.clear();
        shell_.requests.clear();
        clock_.sleeps.clear();
        SetServiceState(c.state);

        control_.ServiceStartIfNeeded();

        EXPECT_EQ(trace_.lines, std::vector<std::string>{c.trace});
        const auto start = App("StartKeshService.bat");
        const auto stop = App("StopKeshService.bat");
        EXPECT_EQ(RequestedFiles(), (c.stopFirst ? std::vector{stop, start} : std::vector{start}));
        EXPECT_EQ(clock_.sleeps, (c.stopFirst ? std::vector<std::uint32_t>{10000} : std::vector<std::uint32_t>{}));
        for (const ShellRequest& request : shell_.requests) {
            EXPECT_EQ(request.verb, "open");
            EXPECT_EQ(request.show, ShowMode::Hidden);
            EXPECT_EQ(request.arguments, "");
            EXPECT_TRUE(request.workingFolder.empty());
        }
        EXPECT_EQ(runState_.startCount, ++expectedCount);
    }
    EXPECT_FALSE(runState_.elevatedStartDone);
}

TEST_F(ServiceControlTest, APausedServiceIsStoppedThenStartedTenSecondsLater) {
    SetServiceState(kServicePaused);
    control_.ServiceStartIfNeeded();
    ASSERT_EQ(shell_.requests.size(), 2u);
    EXPECT_EQ(shell_.requests[0].file, App("StopKeshService.bat"));
    EXPECT_EQ(shell_.requests[1].file, App("StartKeshService.bat"));
    // The stop batch runs before the wait, the start batch only after it.
    EXPECT_EQ(shell_.sleepsBefore, (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(clock_.sleeps, std::vector<std::uint32_t>{kServiceStopToStartWaitMs});
    EXPECT_TRUE(clock_.pumpingWaits.empty());
}

TEST_F(ServiceControlTest, ARunningOrUninstalledServiceIsLeftAlone) {
    for (int state : {kServiceRunning, kServiceCannotOpen}) {
        SetServiceState(state);
        control_.ServiceStartIfNeeded();
    }
    EXPECT_TRUE(shell_.requests.empty());
    EXPECT_TRUE(trace_.lines.empty());
    EXPECT_TRUE(clock_.sleeps.empty());
    EXPECT_EQ(runState_.startCount, 0);
}

TEST_F(ServiceControlTest, TheVistaFamilyReadsTheServiceOthersAskForFullAccess) {
    SetServiceState(kServiceRunning);
    EXPECT_EQ(control_.ServiceState(), kServiceRunning);
    system_.version = kEleven;
    EXPECT_EQ(control_.ServiceState(), kServiceRunning);
    const std::vector<std::pair<std::string, ServiceAccess>> expected{{"Kesh Backup Service", ServiceAccess::Full},
                                                                      {"Kesh Backup Service", ServiceAccess::ReadOnly}};
    EXPECT_EQ(services_.queries, expected);
}

TEST_F(ServiceControlTest, AServiceRefusedFullAccessIsStillReadNotTakenForUninstalled) {
    SetServiceState(kServiceStopped);
    services_.refuseFullAccess = true;
    EXPECT_EQ(control_.ServiceState(), kServiceStopped);
    services_.states.clear();
    EXPECT_EQ(control_.ServiceState(), kServiceCannotOpen);
}

TEST_F(ServiceControlTest, TheElevatedStartRunsOncePerRunOnTheVistaFamily) {
    for (const OsVersion version : {kSeven, kEleven}) {
        SCOPED_TRACE(version.major);
        runState_ = {};
        shell_.requests.clear();
        trace_.lines.clear();
        system_.version = version;
        SetServiceState(kServiceStopped);
        shell_.answer = {5, 1223, "The operation was canceled by the user."};

        control_.ServiceStartIfNeeded();
        control_.ServiceStartIfNeeded();

        ASSERT_EQ(shell_.requests.size(), 3u);
        const ShellRequest& elevated = shell_.requests[1];
        EXPECT_EQ(elevated.verb, "runas");
        EXPECT_EQ(elevated.file, App("KeshLaunchDrive.exe"));
        EXPECT_EQ(elevated.arguments, "stratservice");
        EXPECT_EQ(elevated.workingFolder, folders_.AppFolder());
        EXPECT_EQ(shell_.requests[2].file, App("StartKeshService.bat"));
        const std::vector<std::string> expected{
            "  [INFORMATION] Kesh Service is stopped.So starting the service.",
            "  [INFORMATION] Launch Handle : 5",
            "  [INFORMATION] Error 1 : 1223  The operation was canceled by the user.",
            "  [INFORMATION] Kesh Service is stopped.So starting the service.",
        };
        EXPECT_EQ(trace_.lines, expected);
        EXPECT_EQ(runState_.startCount, 2);
    }
}

TEST_F(ServiceControlTest, XpNeverStartsElevated) {
    SetServiceState(kServicePaused);
    control_.ServiceStartIfNeeded();
    control_.ServiceStartIfNeeded();
    for (const ShellRequest& request : shell_.requests) {
        EXPECT_EQ(request.verb, "open");
    }
    EXPECT_EQ(shell_.requests.size(), 4u);
    EXPECT_FALSE(runState_.elevatedStartDone);
}

TEST_F(ServiceControlTest, AProductWithoutDriveLauncherNeverOpensAnEmptyName) {
    names_ = BuildExecutableNames(Product(1));
    ASSERT_EQ(names_.driveLauncher, "");
    system_.version = kSeven;
    SetServiceState(kServiceStopped);

    control_.ServiceStartIfNeeded();

    EXPECT_EQ(RequestedFiles(), std::vector{App("StartOrvessaProfessionalService.bat")});
    EXPECT_EQ(trace_.lines, std::vector<std::string>{
                                "  [INFORMATION] OrvessaProfessional Service is stopped.So starting the service."});
    EXPECT_TRUE(runState_.elevatedStartDone);
    EXPECT_EQ(runState_.startCount, 1);
    EXPECT_EQ(control_.ElevatedServiceStart().instance, 0);
    EXPECT_EQ(shell_.requests.size(), 1u);
}

TEST_F(ServiceControlTest, BatchFilesAreNamedAfterTheProductWord) {
    EXPECT_EQ(control_.ServiceBatchFile(ServiceBatch::Install), App("InstallKeshService.bat"));
    names_ = BuildExecutableNames(Product(1));
    EXPECT_EQ(control_.ServiceBatchFile(ServiceBatch::Start), App("StartOrvessaProfessionalService.bat"));
}

// ---- LaunchBackground --------------------------------------------------------------------------

TEST_F(ServiceControlTest, LaunchBackgroundStartsTheEngineMaximisedAndMarksTheStandardStart) {
    SetServiceState(kServiceRunning);
    control_.LaunchBackground();

    ASSERT_EQ(shell_.requests.size(), 1u);
    EXPECT_EQ(shell_.requests[0].verb, "open");
    EXPECT_EQ(shell_.requests[0].file, App("KeshBackground.exe"));
    EXPECT_EQ(shell_.requests[0].show, ShowMode::Maximized);
    EXPECT_EQ(values_.ReadUserNameOrvessa(contract::kStandard), "1");
    const std::vector<std::string> expected{"  [INFORMATION] strStdrd2 = 0", "  [INFORMATION] strStarted2 = 0",
                                            "  [INFORMATION] KeshBackground.exe is launched"};
    EXPECT_EQ(trace_.lines, expected);
}

TEST_F(ServiceControlTest, LaunchBackgroundLeavesARunningEngineOrAnotherTrayModeAlone) {
    SetServiceState(kServiceStopped);
    values_.WriteUserNameRegistry(contract::kTray, "1");
    control_.LaunchBackground();
    values_.WriteUserNameRegistry(contract::kTray, "0");
    processes_.Add("D:\\Elsewhere\\KESHBACKGROUND.EXE");
    control_.LaunchBackground();
    EXPECT_TRUE(shell_.requests.empty());
    EXPECT_TRUE(trace_.lines.empty());
}

TEST_F(ServiceControlTest, AnEngineThatReportsItselfStartedIsNotStartedASecondTime) {
    SetServiceState(kServiceRunning);
    values_.WriteUserNameOrvessa(contract::kStandard, "0");
    values_.WriteUserNameOrvessa(contract::kStarted, "1");
    control_.LaunchBackground();
    EXPECT_TRUE(shell_.requests.empty());
    EXPECT_EQ(values_.ReadUserNameOrvessa(contract::kStandard), "0");
    EXPECT_EQ(trace_.lines,
              (std::vector<std::string>{"  [INFORMATION] strStdrd2 = 0", "  [INFORMATION] strStarted2 = 1"}));

    // A standard start still pending from before does not hold the engine back.
    values_.WriteUserNameOrvessa(contract::kStandard, "1");
    control_.LaunchBackground();
    EXPECT_EQ(RequestedFiles(), std::vector{App("KeshBackground.exe")});
}

TEST_F(ServiceControlTest, LaunchBackgroundStopsStartingTheServiceAfterTwoAttempts) {
    SetServiceState(kServiceStopped);
    auto startBatches = [&] {
        int count = 0;
        for (const ShellRequest& request : shell_.requests) {
            count += request.file == App("StartKeshService.bat") ? 1 : 0;
        }
        return count;
    };
    control_.LaunchBackground();
    control_.LaunchBackground();
    EXPECT_EQ(startBatches(), 2);
    EXPECT_EQ(runState_.startCount, 2);
    control_.LaunchBackground();
    EXPECT_EQ(startBatches(), 2);

    // The Vista family leaves the service to the watcher's own checks.
    shell_.requests.clear();
    runState_ = {};
    system_.version = kEleven;
    control_.LaunchBackground();
    EXPECT_EQ(startBatches(), 0);
}

}  // namespace
}  // namespace ovp
