#include "app/startup.h"

#include <gtest/gtest.h>

#include "base/files.h"
#include "base/text.h"
#include "settings/obscure.h"
#include "support/app_fixture.h"

namespace ovp {
namespace {

using test::ReadAll;
using test::WriteAll;
using Lines = std::vector<std::string>;

constexpr std::string_view kConnectionKey = "Software\\Harrowlane\\Grp Backup\\Connection Parameters";

std::size_t Entries(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override { fx_.WriteConfiguration(); }

    StartupResult Start() {
        host_.calls.clear();
        return Main(fx_.Ports(), host_, fx_.app);
    }
    AppContext& Run() {
        result_ = Start();
        EXPECT_EQ(result_.outcome, StartupOutcome::Running);
        return *result_.context;
    }
    bool Checked(TrayMenuItem item) { return Run().trayMenu.Item(item).checked; }

    fs::path StartFolder() const { return fx_.app / "Grp Backup"; }
    fs::path Alice(std::string_view name = "") const { return fx_.app / "Grp Backupalice" / name; }
    std::string UserName(std::string_view key) {
        return fx_.profiles.Read(fx_.app / "UserName.ini", contract::kRegistrySection, key);
    }
    void SetUserName(std::string_view key, std::string_view value) {
        fx_.profiles.Write(fx_.app / "UserName.ini", "Registry", key, value);
    }
    void SetStatus(std::uint32_t status) {
        fx_.registry.WriteDword(RegistryRoot::CurrentUser, kConnectionKey, "Status", status);
    }
    std::string Status() { return fx_.registry.Read(RegistryRoot::CurrentUser, kConnectionKey, "Status").AsText(); }
    void ServiceRuns() { fx_.services.states["Grp Backup Service"] = kServiceRunning; }

    test::AppFixture fx_;
    test::RecordingStartupHost host_;
    StartupResult result_;
};

TEST_F(StartupTest, WithoutAUsableConfigurationTheProgramEndsAtOnceAndCreatesNothing) {
    fx_.WriteConfiguration(test::GroupConfiguration("..\\outside"));
    EXPECT_EQ(Start().outcome, StartupOutcome::NoConfiguration);
    EXPECT_TRUE(host_.calls.empty());
    EXPECT_EQ(fx_.registry.writeCount + fx_.profiles.writeCount, 0);
    EXPECT_EQ(Entries(fx_.dir.Path()) + Entries(fx_.app), 2u);  // the app folder and its configuration
}

TEST_F(StartupTest, OnlyAMonitorThatFoundTheMutexAndSeesAnotherEndsBeforeTouchingItsFiles) {
    WriteAll(StartFolder() / "TrayTraceFile.txt", "first");
    fx_.SetCurrentUser("alice");
    WriteAll(Alice("TrayTraceFile.txt"), "first user");
    // Two monitors started at the same moment both see the other: the mutex's creator stays.
    const struct {
        bool mutexCreated, otherInstance;
        StartupOutcome outcome;
    } cases[] = {{false, true, StartupOutcome::SecondInstance},
                 {true, true, StartupOutcome::Running},
                 {false, false, StartupOutcome::Running}};
    for (const auto& c : cases) {
        host_.mutexCreated = c.mutexCreated;
        host_.otherInstance = c.otherInstance;
        EXPECT_EQ(Start().outcome, c.outcome) << c.mutexCreated << c.otherInstance;
        if (c.outcome == StartupOutcome::SecondInstance) {
            EXPECT_EQ(ReadAll(StartFolder() / "TrayTraceFile.txt") + ReadAll(Alice("TrayTraceFile.txt")),
                      "firstfirst user");
            EXPECT_EQ(fx_.registry.writeCount, 0);
        }
    }
}

TEST_F(StartupTest, AnEmptiedStartFolderHoldsTheFirstLinesWhichReplaceTheUsersTrace) {
    WriteAll(StartFolder() / "old" / "left.txt", "x");
    fx_.SetCurrentUser("alice");
    WriteAll(Alice("TrayTraceFile.txt"), "last run's trace");
    WriteAll(Alice("TempRecVals.txt"), "x");
    WriteAll(Alice("keep.txt"), "x");
    WriteAll(fx_.app / "keep.txt", "x");
    Run();
    const std::string startTrace = ReadAll(StartFolder() / "TrayTraceFile.txt");
    EXPECT_NE(startTrace, "");
    EXPECT_EQ(Entries(StartFolder()), 1u);
    const std::string userTrace = ReadAll(Alice("TrayTraceFile.txt"));
    EXPECT_TRUE(userTrace.starts_with(startTrace) && userTrace.size() > startTrace.size());
    EXPECT_FALSE(FileExists(Alice("TempRecVals.txt")));
    EXPECT_TRUE(FileExists(Alice("keep.txt")) && FileExists(fx_.app / "keep.txt"));
}

TEST_F(StartupTest, HostStepsRunInOrderAndAMissingMainFormEndsStartUp) {
    host_.dpi = 0;  // unknown counts as normal
    EXPECT_FALSE(Run().largeFonts);
    EXPECT_EQ(host_.calls,
              (Lines{"CreateAppMutex GrpTrayexe", "OtherInstanceRunning", "SetCurrentFolder", "LoadMainForm",
                     "SetFormIcon", "AddTrayIcon", "StartTimer 5 2000", "StartTimer 1 20000", "MinimizeAndHide"}));
    EXPECT_EQ(host_.currentFolder, fx_.app);
    EXPECT_EQ(host_.formIcon, fx_.app / "Images" / "ovlog.ico");
    EXPECT_TRUE(IsLargeFonts(120));

    host_.failLoad = true;
    EXPECT_EQ(Start().outcome, StartupOutcome::NoMainForm);
    EXPECT_EQ(host_.calls.back(), "LoadMainForm");
}

TEST_F(StartupTest, AnUnsafeUserNameCountsAsNoUserAndNothingOutsideIsTouched) {
    const fs::path outside = fx_.dir / "outside";
    WriteAll(outside / "TrayTraceFile.txt", "outside");
    WriteAll(outside / "TempRecVals.txt", "outside");
    fx_.SetCurrentUser("/../../outside");  // a separator on every system
    Run();
    EXPECT_EQ(ReadAll(outside / "TrayTraceFile.txt") + ReadAll(outside / "TempRecVals.txt"), "outsideoutside");
}

TEST_F(StartupTest, OpenFileModeTwoBecomesZeroInItsOwnKindAndOtherValuesStay) {
    const std::string key = "Software\\Grp Backup";
    const auto after = [&] {
        Run();
        const RegistryValue value = fx_.registry.Read(RegistryRoot::LocalMachine, key, "OpenFileMode");
        return std::pair(value.kind, value.AsText());
    };
    fx_.registry.WriteString(RegistryRoot::LocalMachine, key, "OpenFileMode", "22");
    EXPECT_EQ(after(), std::pair(RegistryValue::Kind::String, std::string("22")));
    fx_.registry.WriteString(RegistryRoot::LocalMachine, key, "OpenFileMode", "2");
    EXPECT_EQ(after(), std::pair(RegistryValue::Kind::String, std::string("0")));
    fx_.registry.WriteDword(RegistryRoot::LocalMachine, key, "OpenFileMode", 2);
    EXPECT_EQ(after(), std::pair(RegistryValue::Kind::Dword, std::string("0")));
}

TEST_F(StartupTest, LoadFixesTheUsersProfileValues) {
    fx_.SetCurrentUser("alice");
    const fs::path profile = Alice("Grp Backup.ini");
    fx_.profiles.Write(profile, "BackupStatus", "StausMessageIndicaton", "Q1");
    const auto disabled = [&] { return fx_.profiles.Read(profile, "Orvessa", Obscure("ScheduleDisable")); };
    EXPECT_FALSE(Checked(TrayMenuItem::MnuDisableAutobkup));
    EXPECT_EQ(disabled(), Obscure("FALSE"));
    // The engine's misspelt status indicator moves to the monitor's key.
    EXPECT_EQ(fx_.profiles.Read(profile, "BackupStatus", "StatusMessageIndicaton"), "Q1");
    EXPECT_EQ(fx_.profiles.Read(profile, "BackupStatus", "StausMessageIndicaton"), "");

    fx_.profiles.Write(profile, "Orvessa", Obscure("ScheduleDisable"), Obscure("TRUE"));
    EXPECT_TRUE(Checked(TrayMenuItem::MnuDisableAutobkup));
}

TEST_F(StartupTest, NetworkShareEntriesAreObscuredOnce) {
    SetUserName("UNCCount", "3");
    SetUserName("UNC1", "  a;b  ");
    SetUserName("UNC3", "a;;c;d;e;f;");  // the closing ";" makes no seventh field
    Run();
    const std::string unc1 = Obscure("a") + ";" + Obscure("b") + ";;;;;";
    EXPECT_EQ(UserName("UNC1"), unc1);
    EXPECT_EQ(UserName("UNC2"), "");
    EXPECT_EQ(UserName("UNC3"),
              Obscure("a") + ";;" + Obscure("c") + ";" + Obscure("d") + ";" + Obscure("e") + ";" + Obscure("f") + ";");
    EXPECT_EQ(UserName("UNCEncrypted"), "1");
    Run();
    EXPECT_EQ(UserName("UNC1"), unc1);
    EXPECT_EQ(ConvertUncEntry("a;b;c;d;e;f;g"), ConvertUncEntry("a;b;c;d;e;f") + Obscure("g") + ";");
}

TEST_F(StartupTest, OnlyAConnectedKnownUserWaitsTwentySecondsAndFirstTimeUserIsWritten) {
    ServiceRuns();
    SetStatus(1);
    Run();  // no user: no connection wait at all
    EXPECT_EQ(fx_.clock.sleeps, std::vector<std::uint32_t>{1000});
    EXPECT_EQ(
        fx_.registry.Read(RegistryRoot::CurrentUser, "Software\\Harrowlane\\Grp Backup", "FirstTimeUser").AsText(),
        "TRUE");
    fx_.SetCurrentUser("alice");
    for (std::uint32_t status : {3u, 2u, 1u}) {
        fx_.clock.sleeps.clear();
        SetStatus(status);
        Run();
        EXPECT_EQ(fx_.clock.sleeps == std::vector<std::uint32_t>({1000, 20000}), status != 3) << status;
    }
}

TEST_F(StartupTest, AnInstalledProductLogsOutAnUnauthenticatedUserAndRecordsAnAuthenticatedOne) {
    fx_.SetCurrentUser("alice");
    fx_.registry.WriteString(RegistryRoot::CurrentUser, "Software\\Grp Backup", "InstalledFirst", "1");
    SetStatus(3);
    Run();
    EXPECT_EQ(Status() + "/" + UserName("CurrentUser"), "0/");
    fx_.profiles.Write(Alice("Grp Backup.ini"), "Orvessa", Obscure("Authenticated"), Obscure("1"));
    SetStatus(3);
    Run();
    EXPECT_EQ(Status() + "/" + UserName("CurrentUser"), "3/alice");
}

TEST_F(StartupTest, AMissingServiceIsInstalledThroughItsBatchFilesAndAFailureIsTraced) {
    fx_.SetCurrentUser("alice");
    Run();
    ASSERT_GE(fx_.shell.requests.size(), 2u);
    EXPECT_EQ(fx_.shell.requests[0].file, fx_.app / "InstallGrpService.bat");
    EXPECT_EQ(fx_.shell.requests[0].show, ShowMode::Hidden);
    EXPECT_EQ(fx_.shell.requests[1].file, fx_.app / "StartGrpService.bat");
    EXPECT_NE(
        DecodeTextFile(ReadAll(Alice("TrayTraceFile.txt"))).find("[ERROR] Grp Backup Service installation failed"),
        std::string::npos);
}

TEST_F(StartupTest, TrayZeroStartsTheBackgroundEngine) {
    ServiceRuns();
    SetUserName("Tray", "0");
    Run();
    ASSERT_EQ(fx_.shell.requests.size(), 1u);
    EXPECT_EQ(fx_.shell.requests[0].file, fx_.app / "GrpBackground.exe");
}

TEST_F(StartupTest, ProductOneHidesTheOtherProductsEntriesAndCaptionsItsOwn) {
    fx_.WriteConfiguration(
        "[ProductInfo]\r\nProductNumber=1\r\nProductName=Orvessa Professional\r\n"
        "ProductInstallationName=Orvessa Professional\r\nProductTreeViewName=Tree\r\nProductCaption=Orvessa Pro\r\n"
        "Language=English\r\n");
    const TrayMenuModel& menu = Run().trayMenu;
    for (TrayMenuItem item : {TrayMenuItem::MnuQuotaExceeded, TrayMenuItem::GBAdditional, TrayMenuItem::BLLine,
                              TrayMenuItem::MnuOpenDrive}) {
        EXPECT_FALSE(menu.Item(item).visible || menu.Item(item).enabled);
    }
    EXPECT_EQ(menu.Item(TrayMenuItem::MnuOptions).caption, "Orvessa Pro");
    EXPECT_EQ(menu.Item(TrayMenuItem::mnuSession).caption, "Orvessa Pro Log Viewer");
    EXPECT_TRUE(menu.Item(TrayMenuItem::MnuOpen).enabled);

    WriteAll(fx_.app / "Lang" / "English.txt", "1575=Visor Tallux de\n");
    EXPECT_EQ(Run().trayMenu.Item(TrayMenuItem::mnuSession).caption, "Visor Orvessa Professional de Orvessa Pro");
}

TEST_F(StartupTest, WebManagementIsCheckedOnlyForALoggedInUserWhoLeftItOn) {
    fx_.profiles.Write(Alice("Grp Backup.ini"), "Web", "WebPlugin", "1");
    EXPECT_FALSE(Checked(TrayMenuItem::WebPlugin));
    fx_.SetCurrentUser("alice");
    EXPECT_TRUE(Checked(TrayMenuItem::WebPlugin));
    fx_.profiles.Write(Alice("Grp Backup.ini"), "Web", "WebPlugin", "0");
    EXPECT_FALSE(Checked(TrayMenuItem::WebPlugin));
}

}  // namespace
}  // namespace ovp
