#include "app/tray_status_monitor.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "base/files.h"
#include "base/text.h"
#include "contract/configuration.h"
#include "support/app_fixture.h"
#include "support/fake_tray.h"

namespace ovp {
namespace {

// A backup-set job due two days after the fake clock's now (03-14-2026 09:30).
constexpr std::string_view kRecord =
    "1\b\boventbkupjob\b\b03-16-2026 06:00:00\b\b03-01-2026 10:11:12\b\b16\b\b1\b\b\b\b1\b\b0\b\b202603160600"
    "\b\b6\b\b1111111";

class RecordingStatusWindow : public IStatusWindowHost {
  public:
    void ShowStatusWindow() override {
        ++shown;
        if (fail) {
            throw std::runtime_error("window refused");
        }
    }
    int shown = 0;
    bool fail = false;
};

class TrayStatusMonitorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fx_.WriteConfiguration();
        fx_.SetCurrentUser("alice");
        CreateFolders(fx_.app / "Images");
        for (const char* icon : {"ovlog.ico", "ovlogyellow.ico", "ovlogyellowp.ico", "ovlogred.ico", "ovloggreen.ico",
                                 "CDPBlue1.ico", "CDPBlue2.ico", "QExceed1.ico", "QExceed2.ico", "brand.ico"}) {
            test::WriteAll(fx_.app / "Images" / icon, "icon");
        }
        CreateFolders(User(""));
        // No keep-awake traffic unless a test asks for it.
        fx_.profiles.Write(fx_.app / "UserName.ini", "Registry", "StandbyBackup", "0");
    }

    TrayStatusMonitor& Monitor() {
        if (!monitor_) {
            monitor_ = std::make_unique<TrayStatusMonitor>(Context(), tray_, window_);
        }
        return *monitor_;
    }
    AppContext& Context() { return brand_ ? *brand_ : fx_.Context(); }
    // The brand build, whose custom picture stands in for the normal, red and green ones.
    void UseBrand() {
        ProductSettings settings = *ReadConfiguration(fx_.app);
        settings.brandFileApplied = true;
        settings.customIconFile = "brand.ico";
        brand_ = std::make_unique<AppContext>(fx_.Ports(), fx_.app, settings);
    }

    std::filesystem::path User(std::string_view name) { return fx_.app / "Grp Backupalice" / name; }
    void Status(std::string_view key, std::string_view value) {
        fx_.profiles.Write(User("Grp Backup.ini"), "BackupStatus", key, value);
    }
    std::string Status(std::string_view key) { return fx_.profiles.Read(User("Grp Backup.ini"), "BackupStatus", key); }
    void Orvessa(std::string_view key, std::string_view value) {
        fx_.profiles.Write(fx_.app / "UserName.ini", "Orvessa", key, value);
    }
    void Schedule(std::string_view marker, std::string_view record = kRecord) {
        test::WriteAll(User("scheduleData.txt"), std::string(marker) + "\r\n" + std::string(record) + "\r\n");
    }
    void Connected(std::uint32_t status) {
        fx_.registry.WriteDword(RegistryRoot::CurrentUser, "Software\\Harrowlane\\Grp Backup\\Connection Parameters",
                                "Status", status);
    }
    // The picture after each of n ticks.
    std::vector<std::string> Icons(int ticks) {
        std::vector<std::string> icons;
        for (int i = 0; i < ticks; ++i) {
            Monitor().Tick();
            icons.push_back(tray_.IconName());
        }
        return icons;
    }

    test::AppFixture fx_;
    std::unique_ptr<AppContext> brand_;
    test::FakeTrayIcon tray_;
    RecordingStatusWindow window_;
    std::unique_ptr<TrayStatusMonitor> monitor_;
};

TEST_F(TrayStatusMonitorTest, ScheduleTooltipSaysWhyThereIsNoNextBackupOrWhenItIs) {
    const std::string none = "No backup has been scheduled.";
    struct Case {
        const char* marker;  // nullptr: no schedule file
        std::string_view record;
        const char* disabled;
        const char* indicator;
        std::string expected;
    } cases[] = {
        {nullptr, kRecord, "FALSE", "", none},
        {"2", kRecord, "TRUE", "2", ""},
        {"0", kRecord, "TRUE", "2", "You have disabled the scheduled backup from the Grp Online tray menu."},
        {"0", "", "FALSE", "2", none},
        {"", kRecord, "FALSE", "2", "Quota Exceeded. Upgrade Now!"},
        {"0", kRecord, "FALSE", "", "Backup will start in next 1 day(s)."},
    };
    for (const Case& c : cases) {
        DeleteFileIfExists(User("scheduleData.txt"));
        if (c.marker != nullptr) {
            Schedule(c.marker, c.record);
        }
        Context().transfer.Trf_WriteUserProfile("ScheduleDisable", c.disabled);
        Status("StatusMessageIndicaton", c.indicator);
        EXPECT_EQ(Monitor().GetTrayTipText(), c.expected) << (c.marker ? c.marker : "no file");
    }
}

TEST_F(TrayStatusMonitorTest, TipKeepsAtMost63Utf16UnitsWithoutHalfCharactersAndMissingPicturesAreNotSet) {
    const std::string pair = "\xF0\x9F\x92\xBE";  // one character, two UTF-16 units
    EXPECT_EQ(CutTrayTip(std::string(62, 'a') + pair), std::string(62, 'a'));
    EXPECT_EQ(CutTrayTip(std::string(61, 'a') + pair + "b"), std::string(61, 'a') + pair);
    std::string accents;  // 126 bytes but 63 units
    for (int i = 0; i < 63; ++i) {
        accents += "\xC3\xA9";
    }
    EXPECT_EQ(CutTrayTip(accents + "\xC3\xA9"), accents);
    Monitor().SetTrayTip(std::string(64, 'x'));
    EXPECT_EQ(tray_.Tip(), std::string(63, 'x'));
    Monitor().SetTrayIcon(fx_.app / "Images" / "missing.ico");
    EXPECT_TRUE(tray_.icons.empty());
}

TEST_F(TrayStatusMonitorTest, RunningScheduledJobBlinksAgainstTheNormalPicture) {
    for (const bool brand : {false, true}) {
        if (brand) {
            UseBrand();
            monitor_.reset();
        }
        Schedule("1");
        Status("Status", "1");
        const std::vector<std::string> expected =
            brand ? std::vector<std::string>{"ovlogyellowp.ico", "brand.ico", "ovlogyellowp.ico"}
                  : std::vector<std::string>{"ovlogyellow.ico", "ovlog.ico", "ovlogyellow.ico"};
        EXPECT_EQ(Icons(3), expected);
        EXPECT_EQ(tray_.Tip(), "Grp Online - The scheduled backup job is in progress...");
        // An idle tick in between starts the next run's blinking afresh.
        Status("Status", "0");
        EXPECT_EQ(Icons(1), std::vector<std::string>{expected[1]});
        Status("Status", "1");
        EXPECT_EQ(Icons(1), std::vector<std::string>{expected[0]});
    }
}

TEST_F(TrayStatusMonitorTest, LastBackupResultNeedsRetValueAndAnIdleSchedule) {
    struct Case {
        const char* retValue;
        const char* dllStatus;
        const char* marker;
        const char* icon;
    } cases[] = {
        {"", "3", "0", "ovlog.ico"},  {" 7 ", "3", "0", "ovlogred.ico"}, {"7", "", "0", "ovlog.ico"},
        {"7", "0", "0", "ovlog.ico"}, {"0", "4", "0", "ovloggreen.ico"}, {"0", "4", "3", "ovlog.ico"},
    };
    for (const Case& c : cases) {
        Schedule(c.marker);
        Status("RetValue", c.retValue);
        Status("DLLStatus", c.dllStatus);
        const std::size_t icons = tray_.icons.size();
        const std::size_t tips = tray_.tips.size();
        Monitor().Tick();
        EXPECT_EQ(tray_.IconName(), c.icon) << c.retValue << "/" << c.dllStatus << "/" << c.marker;
        // Only the picture and tip the tick ends with reach the tray, or a result shown over the
        // idle display would flash the normal picture every two seconds.
        EXPECT_EQ(std::pair(tray_.icons.size(), tray_.tips.size()), std::pair(icons + 1, tips + 1)) << c.icon;
    }
}

TEST_F(TrayStatusMonitorTest, EngineReportsAreAnsweredAndTaken) {
    Status("DLLStatus", "1");
    Monitor().Tick();  // without a schedule the start report stays for the engine
    EXPECT_EQ(Status("DLLStatus"), "1");
    EXPECT_FALSE(FileExists(fx_.app / "OVVSSCommonStatus.txt"));
    Schedule("0");
    Monitor().Tick();
    EXPECT_EQ(test::ReadAll(fx_.app / "OVVSSCommonStatus.txt") + test::ReadAll(fx_.app / "OVVSSCommonStatusDll.txt"),
              "0\r\n0\r\n");
    EXPECT_EQ(Status("Status") + Status("DLLStatus"), "10");
    EXPECT_TRUE(fx_.clock.sleeps.empty());

    Status("DLLStatus", "2");
    Status("RetValue", "42");
    Monitor().Tick();
    EXPECT_EQ(Status("DLLStatus"), "0");
    EXPECT_EQ(fx_.clock.sleeps, std::vector<std::uint32_t>{3000});
    EXPECT_EQ(Context().jobMemory.retValue, 42);
    EXPECT_EQ(Context().trayStatus.TrayStateCode, 2);
}

TEST_F(TrayStatusMonitorTest, ContinuousBackupStatesOverrideTheScheduleDisplay) {
    struct Case {
        const char* rtBackup;
        std::int16_t code;
        std::vector<std::string> icons;
        const char* tip;  // after the last tick
    } cases[] = {
        {"1", 11, {"CDPBlue1.ico", "CDPBlue2.ico", "CDPBlue1.ico"}, "Grp Caption - Continuous Backup is in progress"},
        {"1", 11, {"CDPBlue2.ico"}, "Grp Online - Continuous Backup is in progress"},
        {"2", 12, {"ovlogred.ico"}, "Grp Online - Continuous Backup has failed"},
        {"10", 20, {"ovlogred.ico"}, "Grp Online - Continuous Backup has failed"},
        {"4", 14, {"ovlogred.ico"}, "Grp Online - CDP Backup canceled by user"},
        {"11", 4, {"ovloggreen.ico"}, "No backup has been scheduled."},
        {"-1", 4, {"ovloggreen.ico"}, "No backup has been scheduled."},
        {"1", 11, {"CDPBlue1.ico"}, "Grp Caption - Continuous Backup is in progress"},
    };
    // A completed backup's green picture (and state code 4) stands where continuous backup is idle.
    Status("RetValue", "0");
    Status("DLLStatus", "4");
    for (const Case& c : cases) {
        Orvessa("RTBackup", c.rtBackup);
        EXPECT_EQ(Icons(static_cast<int>(c.icons.size())), c.icons) << c.rtBackup;
        EXPECT_EQ(tray_.Tip(), c.tip) << c.rtBackup;
        EXPECT_EQ(Context().trayStatus.TrayStateCode, c.code) << c.rtBackup;
    }
    // Only the first tick of each active spell waits.
    EXPECT_EQ(fx_.clock.sleeps, (std::vector<std::uint32_t>{1000, 1000}));
}

TEST_F(TrayStatusMonitorTest, QuotaMarkerGoesOnlyWhenMaxExceedsUsed) {
    struct Case {
        const char* used;
        const char* max;
        bool kept;
    } cases[] = {
        {"100", "200", false}, {"100", "100", true}, {"", "", false}, {"1e400", "50", false}, {"abc", "", false}};
    for (const Case& c : cases) {
        test::WriteAll(User("QuotaExceeded.txt"), "");
        fx_.profiles.Write(User("Grp Backup.ini"), "QuotaStatus", "Used", c.used);
        fx_.profiles.Write(User("Grp Backup.ini"), "QuotaStatus", "Max", c.max);
        Monitor().Tick();
        EXPECT_EQ(FileExists(User("QuotaExceeded.txt")), c.kept) << c.used << "/" << c.max;
        EXPECT_EQ(tray_.Tip(), c.kept ? "Quota Exceeded. Upgrade Now!" : "No backup has been scheduled.");
    }
}

TEST_F(TrayStatusMonitorTest, ContinuousQuotaReportMakesTheMarkerAndTheQuotaPicturesBlinkWhileConnected) {
    fx_.profiles.Write(User("Grp Backup.ini"), "QuotaStatus", "Used", "200");
    fx_.profiles.Write(User("Grp Backup.ini"), "QuotaStatus", "Max", "100");
    Orvessa("RTBackup", "6");
    Connected(0);
    EXPECT_EQ(Icons(1), std::vector<std::string>{"ovlog.ico"});
    EXPECT_TRUE(FileExists(User("QuotaExceeded.txt")));
    Connected(1);
    EXPECT_EQ(Icons(3), (std::vector<std::string>{"QExceed1.ico", "QExceed2.ico", "QExceed1.ico"}));
    EXPECT_EQ(tray_.Tip(), "Quota Exceeded. Upgrade Now!");
    EXPECT_EQ(Context().trayStatus.TrayStateCode, 16);
    // The quota display outranks a continuous-backup failure.
    Orvessa("RTBackup", "2");
    EXPECT_EQ(Icons(1), std::vector<std::string>{"QExceed2.ico"});
    EXPECT_EQ(tray_.Tip(), "Quota Exceeded. Upgrade Now!");
}

TEST_F(TrayStatusMonitorTest, KeepAwakeIsRequestedForAStandbyBackupAndReleasedWhenTheEngineStarts) {
    using R = ExecutionRequest;
    struct Step {
        const char* standby;
        const char* started;
        std::vector<R> requests;
    } steps[] = {
        {"0", "0", {}},
        {"", "0", {R::SystemRequiredOnce}},
        {"1", "", {R::ContinuousOnly, R::SystemRequiredOnce}},
        {"1", "1", {R::ContinuousOnly}},
        {"1", "1", {}},
    };
    for (const Step& s : steps) {
        fx_.profiles.Write(fx_.app / "UserName.ini", "Registry", "StandbyBackup", s.standby);
        Orvessa("Started", s.started);
        fx_.power.requests.clear();
        Monitor().Tick();
        EXPECT_EQ(fx_.power.requests, s.requests) << s.standby << "/" << s.started;
    }
}

TEST_F(TrayStatusMonitorTest, StatusWindowIsShownOnceForEachRequestAndItsFailureEndsTheTick) {
    Status("StatusWindow", "1");
    Monitor().Tick();
    Monitor().Tick();
    EXPECT_EQ(window_.shown, 1);
    EXPECT_EQ(Status("StatusWindow"), "0");

    Context().traceUser.MarkKnown();
    window_.fail = true;
    Status("StatusWindow", "1");
    Status("DLLStatus", "2");
    EXPECT_NO_THROW(Monitor().Tick());
    EXPECT_EQ(Status("DLLStatus"), "2");  // the steps after the failure did not run
    const std::string trace = DecodeTextFile(test::ReadAll(User("TrayTraceFile.txt")));
    EXPECT_EQ(trace, "Unable to stop exe. \r\nReason: window refused\r\n");
}

}  // namespace
}  // namespace ovp
