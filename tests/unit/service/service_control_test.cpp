#include "service/service_control.h"

#include <gtest/gtest.h>

#include "base/files.h"
#include "contract/configuration.h"
#include "contract/engine_contract.h"
#include "support/fake_processes.h"
#include "support/fakes.h"

namespace ovp {
namespace {

using Lines = std::vector<std::string>;
constexpr OsVersion kXp{true, 5, 1, 2600};
constexpr OsVersion kVista{true, 6, 0, 6000};  // the first of the family
std::string Info(std::string_view text) {
    return "  [INFORMATION] " + std::string(text);
}

// Shell requests and blocking waits join the trace lines in one log, so that each test sees
// what happened in which order. Files are named relative to the application folder.
class LoggingShell : public test::FakeShell {
  public:
    LoggingShell(Lines& log, std::filesystem::path app) : log_(log), app_(std::move(app)) {}
    ShellResult Execute(const ShellRequest& r) override {
        static constexpr const char* kShow[] = {"hidden", "normal", "maximized"};
        log_.push_back(
            "> " + r.verb + " " + Utf8FromPath(r.file.lexically_relative(app_)) +
            (r.arguments.empty() ? "" : " " + r.arguments) +
            (r.workingFolder.empty() ? "" : " in " + Utf8FromPath(r.workingFolder.lexically_relative(app_))) + " " +
            kShow[static_cast<int>(r.show)]);
        return FakeShell::Execute(r);
    }

  private:
    Lines& log_;
    std::filesystem::path app_;
};

class LoggingClock : public test::FakeClock {
  public:
    explicit LoggingClock(Lines& log) : log_(log) {}
    void Sleep(std::uint32_t ms) override {
        log_.push_back("> sleep " + std::to_string(ms));
        FakeClock::Sleep(ms);
    }

  private:
    Lines& log_;
};

ExecutableNames NamesOfProduct(int number) {
    ProductSettings settings;
    settings.productNumber = number;
    settings.installationName = "Kesh Backup";
    settings.exeGroup = "Kesh";
    return BuildExecutableNames(settings);
}

class ServiceControlTest : public ::testing::Test {
  protected:
    ServiceControlTest() { system_.version = kXp; }
    void SetServiceState(int state) { services_.states[names_.serviceName] = state; }

    Folders folders_{"C:/App", "Kesh Backup"};
    ExecutableNames names_ = NamesOfProduct(2);
    test::FakeTraceSink trace_;
    Lines& log_ = trace_.lines;
    test::FakeServiceManager services_;
    test::FakeProcesses processes_;
    LoggingClock clock_{log_};
    LoggingShell shell_{log_, folders_.AppFolder()};
    test::FakeSystemInfo system_;
    test::FakeRegistry registry_;
    test::FakeProfileStore store_;
    CurrentUser users_{store_, folders_};
    SharedValues values_{registry_, store_, folders_, users_, trace_};
    ServiceRunState runState_;
    ServiceControlPorts ports_{services_, processes_, shell_, clock_, system_, trace_};
    ServiceControl control_{ports_, folders_, names_, values_, runState_};
};

TEST_F(ServiceControlTest, EachStateThatIsNotRunningIsTracedAndStartedAPausedOneAfterAStopAndAWait) {
    const std::tuple<int, const char*, bool> cases[] = {
        {1, "is stopped", false},          {2, "is start pending", false},       {3, "is stop pending", true},
        {5, "continue pending", false},    {6, "is pause pending", false},       {7, "is pasued", true},
        {kServiceRunning, nullptr, false}, {kServiceCannotOpen, nullptr, false},
    };
    for (const auto& [state, reason, stopFirst] : cases) {
        log_.clear();
        runState_ = {};
        SetServiceState(state);
        control_.ServiceStartIfNeeded();  // XP: never an elevated start

        Lines expected;
        if (reason != nullptr) {
            expected.push_back(Info("Kesh Service ") + reason + ".So starting the service.");
            if (stopFirst) {
                expected.insert(expected.end(), {"> open StopKeshService.bat hidden", "> sleep 10000"});
            }
            expected.push_back("> open StartKeshService.bat hidden");
        }
        EXPECT_EQ(log_, expected) << state;
        EXPECT_EQ(runState_.startCount, reason != nullptr ? 1 : 0);
        EXPECT_FALSE(runState_.elevatedStartDone);
    }
    EXPECT_TRUE(clock_.pumpingWaits.empty());  // the wait blocks on purpose
}

TEST_F(ServiceControlTest, TheVistaFamilyReadsTheServiceOthersAskForFullAccess) {
    SetServiceState(kServiceRunning);
    EXPECT_EQ(control_.ServiceState(), kServiceRunning);
    system_.version = kVista;
    EXPECT_EQ(control_.ServiceState(), kServiceRunning);
    const std::vector<std::pair<std::string, ServiceAccess>> expected{{"Kesh Backup Service", ServiceAccess::Full},
                                                                      {"Kesh Backup Service", ServiceAccess::ReadOnly}};
    EXPECT_EQ(services_.queries, expected);

    // A service refused full access is still read, not taken for uninstalled.
    system_.version = kXp;
    SetServiceState(kServiceStopped);
    services_.refuseFullAccess = true;
    EXPECT_EQ(control_.ServiceState(), kServiceStopped);
    services_.states.clear();
    EXPECT_EQ(control_.ServiceState(), kServiceCannotOpen);
}

TEST_F(ServiceControlTest, TheElevatedStartRunsOncePerRunOnTheVistaFamilyAndNeedsADriveLauncher) {
    system_.version = kVista;
    SetServiceState(kServiceStopped);
    shell_.answer = {5, 1223, "The operation was canceled by the user."};
    control_.ServiceStartIfNeeded();
    control_.ServiceStartIfNeeded();
    const std::string stopped = Info("Kesh Service is stopped.So starting the service.");
    EXPECT_EQ(log_, (Lines{stopped, "> open StartKeshService.bat hidden",
                           "> runas KeshLaunchDrive.exe stratservice in . normal", Info("Launch Handle : 5"),
                           Info("Error 1 : 1223  The operation was canceled by the user."), stopped,
                           "> open StartKeshService.bat hidden"}));
    EXPECT_EQ(runState_.startCount, 2);

    // Product 1 has no drive launcher: an empty name would open the application folder elevated.
    log_.clear();
    runState_ = {};
    names_ = NamesOfProduct(1);
    SetServiceState(kServiceStopped);
    control_.ServiceStartIfNeeded();
    EXPECT_EQ(control_.ElevatedServiceStart().instance, 0);
    EXPECT_EQ(log_, (Lines{Info("OrvessaProfessional Service is stopped.So starting the service."),
                           "> open StartOrvessaProfessionalService.bat hidden"}));
    EXPECT_TRUE(runState_.elevatedStartDone);
}

// ---- LaunchBackground --------------------------------------------------------------------------

TEST_F(ServiceControlTest, LaunchBackgroundStartsTheEngineOnlyForTrayZeroWhenNeitherItNorTheEngineStartedIt) {
    SetServiceState(kServiceStopped);
    values_.WriteUserNameRegistry(contract::kTray, "1");
    control_.LaunchBackground();
    values_.WriteUserNameRegistry(contract::kTray, "0");
    processes_.Add("D:\\Elsewhere\\KESHBACKGROUND.EXE");
    control_.LaunchBackground();
    EXPECT_TRUE(log_.empty());

    processes_.running.clear();
    SetServiceState(kServiceRunning);
    values_.WriteUserNameOrvessa(contract::kStarted, "1");  // the engine started itself
    control_.LaunchBackground();
    EXPECT_EQ(log_, (Lines{Info("strStdrd2 = 0"), Info("strStarted2 = 1")}));
    EXPECT_EQ(values_.ReadUserNameOrvessa(contract::kStandard), "");

    // A standard start still pending from before does not hold the engine back.
    log_.clear();
    values_.WriteUserNameOrvessa(contract::kStandard, "1");
    control_.LaunchBackground();
    EXPECT_EQ(log_, (Lines{Info("strStdrd2 = 1"), Info("strStarted2 = 1"), "> open KeshBackground.exe maximized",
                           Info("KeshBackground.exe is launched")}));
    EXPECT_EQ(values_.ReadUserNameOrvessa(contract::kStandard), "1");
}

TEST_F(ServiceControlTest, LaunchBackgroundStartsTheServiceTwiceAtMostAndNeverOnTheVistaFamily) {
    SetServiceState(kServiceStopped);
    const auto startBatches = [this] {
        return std::count(log_.begin(), log_.end(), "> open StartKeshService.bat hidden");
    };
    for (int launch = 0; launch < 3; ++launch) {
        control_.LaunchBackground();
    }
    EXPECT_EQ(startBatches(), 2);
    EXPECT_EQ(values_.ReadUserNameOrvessa(contract::kStandard), "1");

    log_.clear();
    runState_ = {};
    system_.version = kVista;
    control_.LaunchBackground();
    EXPECT_EQ(startBatches(), 0);
}

}  // namespace
}  // namespace ovp
