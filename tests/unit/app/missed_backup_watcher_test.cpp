#include "app/missed_backup_watcher.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/app_fixture.h"

namespace ovp {
namespace {

class MissedBackupWatcherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fx_.WriteConfiguration();
        fx_.services.states["Grp Backup Service"] = kServiceStopped;
    }

    MissedBackupWatcher& Watcher() {
        if (!watcher_) {
            watcher_ = std::make_unique<MissedBackupWatcher>(fx_.Context());
        }
        return *watcher_;
    }

    // The ticks (1-based) on which the service was started.
    std::vector<int> ServiceStartTicks(int ticks) {
        std::vector<int> started;
        for (int tick = 1; tick <= ticks; ++tick) {
            const auto before = StartBatchCount();
            Watcher().Tick();
            if (StartBatchCount() > before) {
                started.push_back(tick);
            }
        }
        return started;
    }

    std::ptrdiff_t StartBatchCount() {
        return std::count_if(fx_.shell.requests.begin(), fx_.shell.requests.end(),
                             [&](const ShellRequest& r) { return r.file == fx_.app / "StartGrpService.bat"; });
    }

    std::string UserNameValue(std::string_view key) {
        return fx_.profiles.Read(fx_.app / "UserName.ini", "Registry", key);
    }
    void SetUserNameValue(std::string_view key, std::string_view value) {
        fx_.profiles.Write(fx_.app / "UserName.ini", "Registry", key, value);
    }

    test::AppFixture fx_;
    std::unique_ptr<MissedBackupWatcher> watcher_;
};

TEST_F(MissedBackupWatcherTest, OlderSystemsLookAtTheServiceOnEveryTickTheVistaFamilyEveryFifth) {
    fx_.system.version = OsVersion{true, 5, 1, 2600};
    EXPECT_EQ(ServiceStartTicks(3), (std::vector<int>{1, 2, 3}));
    fx_.services.states["Grp Backup Service"] = kServiceRunning;
    EXPECT_EQ(ServiceStartTicks(2), std::vector<int>{});

    fx_.services.states["Grp Backup Service"] = kServiceStopped;
    fx_.system.version = OsVersion{true, 10, 0, 19045};
    EXPECT_EQ(ServiceStartTicks(15), (std::vector<int>{5, 10, 15}));
}

TEST_F(MissedBackupWatcherTest, TheSizeToolIsEndedOnlyWithoutTheClassicClient) {
    fx_.services.states["Grp Backup Service"] = kServiceRunning;
    const auto sizeTool = fx_.processes.Add("C:\\Program Files\\Grp\\GrpBckupsetSize.exe");
    const auto classic = fx_.processes.Add("C:\\Program Files\\Grp\\GrpClassic.exe");
    Watcher().Tick();
    EXPECT_TRUE(fx_.processes.ended.empty());

    fx_.processes.End(classic);
    fx_.processes.ended.clear();
    Watcher().Tick();
    EXPECT_EQ(fx_.processes.ended, std::vector<std::uint32_t>{sizeTool});
}

TEST_F(MissedBackupWatcherTest, ALogOffUnderTheSystemAccountIsTakenNoteOf) {
    fx_.services.states["Grp Backup Service"] = kServiceRunning;
    struct Case {
        std::string account, logOff, standby;
        bool handled;
    };
    for (const Case& c :
         {Case{"SYSTEM", "1", "", true}, Case{"system", "1", "1", true}, Case{"System", "1", "0", false},
          Case{"alice", "1", "1", false}, Case{"SYSTEM", "0", "1", false}}) {
        fx_.system.processUserName = c.account;
        SetUserNameValue("LogOff", c.logOff);
        SetUserNameValue("StandbyBackup", c.standby);
        SetUserNameValue("Tray", "1");
        Watcher().Tick();
        EXPECT_EQ(UserNameValue("LogOff"), c.handled ? "0" : c.logOff) << c.account;
        EXPECT_EQ(UserNameValue("Tray"), c.handled ? "3" : "1") << c.account;
    }
    EXPECT_TRUE(fx_.shell.requests.empty());
}

TEST_F(MissedBackupWatcherTest, TrayZeroKeepsTheBackgroundEngineRunning) {
    fx_.services.states["Grp Backup Service"] = kServiceRunning;
    SetUserNameValue("Tray", "0");
    Watcher().Tick();
    ASSERT_EQ(fx_.shell.requests.size(), 1u);
    EXPECT_EQ(fx_.shell.requests[0].file, fx_.app / "GrpBackground.exe");
}

}  // namespace
}  // namespace ovp
