#include "app/missed_backup_watcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "base/files.h"
#include "base/text.h"
#include "support/app_fixture.h"

namespace ovp {
namespace {

class RecordingWarning : public IMissedBackupWarning {
  public:
    void ShowMissedBackups(std::int64_t days) override { shown.push_back(days); }
    std::vector<std::int64_t> shown;
};

class MissedBackupWatcherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fx_.WriteConfiguration();
        fx_.services.states["Grp Backup Service"] = kServiceRunning;
    }

    MissedBackupWatcher& Watcher() {
        if (!watcher_) {
            watcher_ = std::make_unique<MissedBackupWatcher>(fx_.Context(), warning_);
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

    std::string Orvessa(std::string_view key) { return fx_.profiles.Read(fx_.app / "UserName.ini", "Orvessa", key); }
    void Profile(std::string_view key, std::string_view value) {
        fx_.Context().values.WriteProfile("BackupStatus", key, value);
    }
    std::string Profile(std::string_view key) { return fx_.Context().values.ReadProfile("BackupStatus", key); }
    void ClearNextCheck() {
        for (const char* key : {"TrayIconDay", "TrayIconMonth", "TrayIconYear", "TrayIconHour", "TrayIconMinute"}) {
            fx_.profiles.Write(fx_.app / "UserName.ini", "Orvessa", key, "");
        }
    }
    // The stored next check as "d/m/y h:m".
    std::string NextCheck() {
        return Orvessa("TrayIconDay") + "/" + Orvessa("TrayIconMonth") + "/" + Orvessa("TrayIconYear") + " " +
               Orvessa("TrayIconHour") + ":" + Orvessa("TrayIconMinute");
    }

    test::AppFixture fx_;
    RecordingWarning warning_;
    std::unique_ptr<MissedBackupWatcher> watcher_;
};

TEST_F(MissedBackupWatcherTest, OlderSystemsLookAtTheServiceOnEveryTickTheVistaFamilyEveryFifth) {
    fx_.services.states["Grp Backup Service"] = kServiceStopped;
    fx_.system.version = OsVersion{true, 5, 1, 2600};
    EXPECT_EQ(ServiceStartTicks(3), (std::vector<int>{1, 2, 3}));
    fx_.services.states["Grp Backup Service"] = kServiceRunning;
    EXPECT_EQ(ServiceStartTicks(2), std::vector<int>{});

    fx_.services.states["Grp Backup Service"] = kServiceStopped;
    fx_.system.version = OsVersion{true, 10, 0, 19045};
    EXPECT_EQ(ServiceStartTicks(15), (std::vector<int>{5, 10, 15}));
}

TEST_F(MissedBackupWatcherTest, TheSizeToolIsEndedOnlyWithoutTheClassicClient) {
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
    SetUserNameValue("Tray", "0");
    Watcher().Tick();
    ASSERT_EQ(fx_.shell.requests.size(), 1u);
    EXPECT_EQ(fx_.shell.requests[0].file, fx_.app / "GrpBackground.exe");
}

// The stored parts are one moment: a later day with an earlier hour or minute is later.
TEST(DailyCheckTest, TheStoredMomentIsDueOnceNowHasReachedItOrIsImpossiblyFarAhead) {
    const DateTime now{2026, 3, 15, 9, 30, 0};
    const struct {
        CheckMoment stored;
        bool due;
    } cases[] = {
        {{2026, 3, 15, 9, 30}, true},  {{2026, 3, 14, 9, 45}, true},  {{2025, 12, 31, 23, 59}, true},
        {{2026, 2, 28, 10, 0}, true},  {{2026, 3, 15, 9, 31}, false}, {{2026, 3, 16, 9, 30}, false},
        {{2026, 3, 16, 9, 31}, false}, {{2026, 3, 16, 9, 32}, true},  {{2027, 1, 1, 0, 0}, true},
        {{2026, 4, 1, 0, 0}, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsCheckDue(c.stored, now), c.due) << c.stored.year << "-" << c.stored.month << "-" << c.stored.day
                                                    << " " << c.stored.hour << ":" << c.stored.minute;
    }
}

TEST_F(MissedBackupWatcherTest, WithoutAStoredTimeTheCheckRunsAtOnceAndNextTomorrowAtTheSameMinute) {
    fx_.SetCurrentUser("alice");
    const struct {
        DateTime now;
        std::string next;
    } cases[] = {
        {{2026, 12, 31, 23, 59, 10}, "1/1/2027 23:59"}, {{2024, 2, 28, 8, 5, 0}, "29/2/2024 8:5"},
        {{2024, 2, 29, 8, 5, 0}, "1/3/2024 8:5"},       {{2026, 2, 28, 0, 0, 0}, "1/3/2026 0:0"},
        {{2026, 4, 30, 12, 0, 0}, "1/5/2026 12:0"},
    };
    for (const auto& c : cases) {
        ClearNextCheck();
        fx_.clock.Set(c.now);
        Profile("BackupFailureDays", "7");
        Watcher().Tick();
        EXPECT_EQ(NextCheck(), c.next);
        EXPECT_EQ(warning_.shown, std::vector<std::int64_t>{7});

        warning_.shown.clear();
    }
}

// BackupFailureDays against UserDays (7 when unreadable); UserDaysEnabled "0" resets without a
// warning; a "Tray" other than "0" or empty, or no user, warns of nothing.
TEST_F(MissedBackupWatcherTest, TheWarningComesWhenTheMissedDaysReachTheUsersLimit) {
    const struct {
        const char *user, *missed, *limit, *enabled, *tray;
        std::optional<std::int64_t> warned;
        const char* missedAfter;
        bool stored;
    } cases[] = {
        {"alice", "7", "", "", "", 7, "0", true},    {"alice", "6", "", "", "", {}, "6", true},
        {"alice", "8", "x", "1", "0", 8, "0", true}, {"alice", "3", "3", "", "", 3, "0", true},
        {"alice", "2", "3", "", "", {}, "2", true},  {"alice", "0", "0", "", "", {}, "0", true},
        {"alice", "", "-2", "", "", {}, "", true},   {"alice", "2", "0", "", "", 2, "0", true},
        {"alice", "9", "", "0", "", {}, "0", true},  {"alice", "9", "", "", "1", {}, "9", false},
        {"", "9", "", "", "", {}, "9", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.user) + " " + c.missed + "/" + c.limit + " enabled " + c.enabled + " tray " +
                     c.tray);
        ClearNextCheck();
        fx_.SetCurrentUser("alice");
        Profile("BackupFailureDays", c.missed);
        Profile("UserDays", c.limit);
        Profile("UserDaysEnabled", c.enabled);
        SetUserNameValue("Tray", c.tray);
        fx_.SetCurrentUser(c.user);
        Watcher().Tick();
        fx_.SetCurrentUser("alice");
        EXPECT_EQ(warning_.shown, c.warned ? std::vector<std::int64_t>{*c.warned} : std::vector<std::int64_t>{});
        EXPECT_EQ(Profile("BackupFailureDays"), c.missedAfter);
        EXPECT_EQ(Orvessa("TrayIconYear") == "2026", c.stored);
        warning_.shown.clear();
    }
}

// An update installed while the monitor runs is noted, once a day; case and line feeds do not
// make another version.
TEST_F(MissedBackupWatcherTest, AVersionInstalledWhileRunningIsTraced) {
    fx_.SetCurrentUser("alice");
    fx_.Context().traceUser.MarkKnown();
    CreateFolders(fx_.app / "Grp Backupalice");
    SharedValues& values = fx_.Context().values;
    values.WriteRegistryString(RegistryRoot::CurrentUser, values.ApplicationKey(), "Version", "5.1.0B");
    Watcher();
    const std::string note = "Checking if the " + Utf8FromPath(fx_.app) + "\\TalluxNew.exe exists";
    const auto noted = [&] {
        const std::string trace =
            DecodeTextFile(ReadFileBytes(fx_.app / "Grp Backupalice" / "TrayTraceFile.txt").value_or(""));
        return trace.find(note) != std::string::npos;
    };
    for (const auto& [installed, changed] : {std::pair{"5.1.0b\n", false}, std::pair{"5.2.0", true}}) {
        ClearNextCheck();
        values.WriteRegistryString(RegistryRoot::CurrentUser, values.ApplicationKey(), "Version", installed);
        Watcher().Tick();
        EXPECT_EQ(noted(), changed) << installed;
    }
}

}  // namespace
}  // namespace ovp
