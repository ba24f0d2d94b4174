#include "app/startup.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/engine_contract.h"
#include "base/files.h"
#include "base/text.h"
#include "settings/obscure.h"
#include "support/app_fixture.h"

namespace ovp {
namespace {

using test::ReadAll;
using test::WriteAll;

constexpr std::string_view kStamp = "03-14-2026 09:30:00";
constexpr std::string_view kVendorKey = "Software\\Harrowlane\\Grp Backup";
constexpr std::string_view kConnectionKey = "Software\\Harrowlane\\Grp Backup\\Connection Parameters";

std::vector<std::string> TraceLines(const fs::path& file) {
    const std::optional<std::string> bytes = ReadFileBytes(file);
    if (!bytes) {
        return {};
    }
    std::vector<std::string> lines = Split(DecodeTextFile(*bytes), "\r\n");
    if (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    return lines;
}

std::string Info(std::string_view message) {
    return std::string(kStamp) + "  [INFORMATION] " + std::string(message);
}

bool HasLine(const std::vector<std::string>& lines, std::string_view text) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.size() == kStamp.size() + text.size() && line.ends_with(text);
    });
}

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override { fx_.WriteConfiguration(); }

    StartupResult Start() { return Main(fx_.Ports(), host_, fx_.app); }

    fs::path StartFolder() const { return fx_.app / "Grp Backup"; }
    fs::path UserFolder(std::string_view user) const { return fx_.app / ("Grp Backup" + std::string(user)); }
    fs::path ProfileFile(std::string_view user) const { return UserFolder(user) / "Grp Backup.ini"; }
    fs::path UserNameFile() const { return fx_.app / "UserName.ini"; }

    std::string UserNameValue(std::string_view key) {
        return fx_.profiles.Read(UserNameFile(), contract::kRegistrySection, key);
    }

    test::AppFixture fx_;
    test::RecordingStartupHost host_;
};

TEST_F(StartupTest, WithoutAUsableConfigurationTheProgramEndsAtOnceAndCreatesNothing) {
    for (const std::string& configuration : {std::string(), test::GroupConfiguration("") /* no installation name */,
                                             test::GroupConfiguration("..\\outside")}) {
        test::AppFixture fx;
        if (!configuration.empty()) {
            fx.WriteConfiguration(configuration);
        }
        test::RecordingStartupHost host;
        const StartupResult result = Main(fx.Ports(), host, fx.app);

        EXPECT_EQ(result.outcome, StartupOutcome::NoConfiguration);
        EXPECT_TRUE(host.calls.empty());
        EXPECT_EQ(fx.registry.writeCount, 0);
        EXPECT_EQ(fx.profiles.writeCount, 0);
        EXPECT_TRUE(fx.shell.requests.empty());
        const auto entries = std::distance(fs::directory_iterator(fx.app), fs::directory_iterator());
        EXPECT_EQ(entries, configuration.empty() ? 0 : 1);  // only Configuration.ini itself
    }
}

TEST_F(StartupTest, ASecondInstanceEndsBeforeTouchingTheFirstOnesFiles) {
    CreateFolders(StartFolder());
    WriteAll(StartFolder() / "TrayTraceFile.txt", "first instance");
    fx_.SetCurrentUser("alice");
    CreateFolders(UserFolder("alice"));
    WriteAll(UserFolder("alice") / "TrayTraceFile.txt", "first instance's user trace");
    host_.otherInstance = true;

    EXPECT_EQ(Start().outcome, StartupOutcome::SecondInstance);

    EXPECT_EQ(host_.calls, std::vector<std::string>{"OtherInstanceRunning"});
    EXPECT_EQ(ReadAll(StartFolder() / "TrayTraceFile.txt"), "first instance");
    EXPECT_EQ(ReadAll(UserFolder("alice") / "TrayTraceFile.txt"), "first instance's user trace");
    EXPECT_EQ(fx_.registry.writeCount, 0);
}

TEST_F(StartupTest, TheStartFolderLinesMoveIntoTheUsersTraceInStepOrder) {
    fx_.SetCurrentUser("alice");
    CreateFolders(UserFolder("alice"));
    WriteAll(UserFolder("alice") / "TrayTraceFile.txt", "last run's trace");
    WriteAll(UserFolder("alice") / "TempRecVals.txt", "x");
    fx_.services.states["Grp Backup Service"] = kServiceRunning;

    ASSERT_EQ(Start().outcome, StartupOutcome::Running);

    const std::vector<std::string> startLines = {
        Info("Started Tray..."),
        Info("checking if GrpBackground.exe is running"),
        Info("After creating default files..."),
        Info("Default user: alice"),
    };
    EXPECT_EQ(TraceLines(StartFolder() / "TrayTraceFile.txt"), startLines);

    std::vector<std::string> expected = startLines;
    for (std::string_view line : {"Default useralice", "before Setappdir", "after setappdir", "after create appmutex",
                                  "Checking Background running..1"}) {
        expected.push_back(Info(line));
    }
    const std::vector<std::string> userLines = TraceLines(UserFolder("alice") / "TrayTraceFile.txt");
    ASSERT_GE(userLines.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(userLines.begin(), userLines.begin() + expected.size()), expected);
    EXPECT_FALSE(FileExists(UserFolder("alice") / "TempRecVals.txt"));
}

TEST_F(StartupTest, HostStepsRunInOrder) {
    fx_.services.states["Grp Backup Service"] = kServiceRunning;
    ASSERT_EQ(Start().outcome, StartupOutcome::Running);

    EXPECT_EQ(host_.calls,
              (std::vector<std::string>{"OtherInstanceRunning", "SetCurrentFolder", "CreateAppMutex GrpTrayexe",
                                        "LoadMainForm", "SetFormIcon", "AddTrayIcon", "StartTimer 5 2000",
                                        "StartTimer 1 20000", "MinimizeAndHide"}));
    EXPECT_EQ(host_.currentFolder, fx_.app);
    EXPECT_EQ(host_.formIcon, fx_.app / "Images" / "ovlog.ico");
}

TEST_F(StartupTest, AMainFormThatCannotBeCreatedEndsStartUp) {
    host_.failLoad = true;
    EXPECT_EQ(Start().outcome, StartupOutcome::NoMainForm);
    EXPECT_EQ(host_.calls.back(), "LoadMainForm");
}

TEST_F(StartupTest, EveryStartBeginsWithAnEmptyStartFolderAndNothingElseIsDeleted) {
    CreateFolders(StartFolder() / "old");
    WriteAll(StartFolder() / "old" / "left.txt", "x");
    WriteAll(StartFolder() / "left.txt", "x");
    fx_.SetCurrentUser("alice");
    CreateFolders(UserFolder("alice"));
    WriteAll(UserFolder("alice") / "keep.txt", "x");
    WriteAll(fx_.app / "keep.txt", "x");

    ASSERT_EQ(Start().outcome, StartupOutcome::Running);

    EXPECT_FALSE(FileExists(StartFolder() / "left.txt"));
    EXPECT_FALSE(FolderExists(StartFolder() / "old"));
    EXPECT_TRUE(FileExists(UserFolder("alice") / "keep.txt"));
    EXPECT_TRUE(FileExists(fx_.app / "keep.txt"));
}

TEST_F(StartupTest, AnUnsafeUserNameCountsAsNoUserAndNothingOutsideIsTouched) {
    const fs::path outside = fx_.dir / "outside";
    CreateFolders(outside);
    WriteAll(outside / "TrayTraceFile.txt", "outside");
    WriteAll(outside / "TempRecVals.txt", "outside");
    for (std::string_view user : {"\\..\\..\\outside", "/../../outside", "C:\\outside", ".."}) {
        fx_.SetCurrentUser(user);
        test::RecordingStartupHost host;
        ASSERT_EQ(Main(fx_.Ports(), host, fx_.app).outcome, StartupOutcome::Running);
    }
    EXPECT_EQ(ReadAll(outside / "TrayTraceFile.txt"), "outside");
    EXPECT_EQ(ReadAll(outside / "TempRecVals.txt"), "outside");
    EXPECT_TRUE(HasLine(TraceLines(StartFolder() / "TrayTraceFile.txt"), "  [INFORMATION] Default user: "));
}

TEST(RecreateStartFolderTest, NeverFollowsAStartFolderThatLinksElsewhere) {
    test::TempDir dir;
    const fs::path app = dir / "app";
    const fs::path elsewhere = dir / "elsewhere";
    CreateFolders(app);
    CreateFolders(elsewhere);
    WriteAll(elsewhere / "keep.txt", "x");
    std::error_code error;
    fs::create_directory_symlink(elsewhere, app / "Grp Backup", error);
    if (error) {
        GTEST_SKIP() << "no folder links here";
    }
    EXPECT_TRUE(RecreateStartFolder(Folders(app, "Grp Backup")));
    EXPECT_TRUE(FileExists(elsewhere / "keep.txt"));
}

TEST_F(StartupTest, OpenFileModeTwoBecomesZeroInItsOwnKindAndOtherValuesStay) {
    const std::string key = "Software\\Grp Backup";
    struct Case {
        RegistryValue before;
        RegistryValue after;
    };
    for (const Case& c :
         {Case{RegistryValue::String("2"), RegistryValue::String("0")},
          Case{RegistryValue::Dword(2), RegistryValue::Dword(0)},
          Case{RegistryValue::String("1"), RegistryValue::String("1")},
          Case{RegistryValue::String("22"), RegistryValue::String("22")}, Case{RegistryValue{}, RegistryValue{}}}) {
        test::AppFixture fx;
        fx.WriteConfiguration();
        if (c.before.kind == RegistryValue::Kind::Dword) {
            fx.registry.WriteDword(RegistryRoot::LocalMachine, key, "OpenFileMode", c.before.number);
        } else if (!c.before.IsMissing()) {
            fx.registry.WriteString(RegistryRoot::LocalMachine, key, "OpenFileMode", c.before.text);
        }
        test::RecordingStartupHost host;
        ASSERT_EQ(Main(fx.Ports(), host, fx.app).outcome, StartupOutcome::Running);
        const RegistryValue after = fx.registry.Read(RegistryRoot::LocalMachine, key, "OpenFileMode");
        EXPECT_EQ(after.kind, c.after.kind);
        EXPECT_EQ(after.AsText(), c.after.AsText());
    }
}

TEST_F(StartupTest, AnEmptyScheduleDisableIsStoredAsObscuredFalseAndTrueStays) {
    fx_.SetCurrentUser("alice");
    for (std::string_view stored : {"", "TRUE"}) {
        if (!stored.empty()) {
            fx_.profiles.Write(ProfileFile("alice"), "Orvessa", Obscure("ScheduleDisable"), Obscure(stored));
        }
        test::RecordingStartupHost host;
        const StartupResult result = Main(fx_.Ports(), host, fx_.app);
        ASSERT_EQ(result.outcome, StartupOutcome::Running);
        EXPECT_EQ(fx_.profiles.Read(ProfileFile("alice"), "Orvessa", Obscure("ScheduleDisable")),
                  Obscure(stored.empty() ? "FALSE" : stored));
        EXPECT_EQ(result.context->trayMenu.Item(TrayMenuItem::MnuDisableAutobkup).checked, !stored.empty()) << stored;
    }
}

TEST_F(StartupTest, NetworkShareEntriesAreObscuredOnce) {
    auto write = [&](std::string_view key, std::string_view value) {
        fx_.profiles.Write(UserNameFile(), "Registry", key, value);
    };
    write("UNCCount", "3");
    write("UNC1", "  \\\\srv\\share;Z:;bob;pw;1;0  ");
    write("UNC3", "\\\\srv\\other;Y:;bob;pw;1;0;");

    ASSERT_EQ(Start().outcome, StartupOutcome::Running);
    EXPECT_EQ(UserNameValue("UNC1"), Obscure("\\\\srv\\share") + ";" + Obscure("Z:") + ";" + Obscure("bob") + ";" +
                                         Obscure("pw") + ";" + Obscure("1") + ";" + Obscure("0") + ";");
    EXPECT_EQ(UserNameValue("UNC2"), "");
    EXPECT_EQ(UserNameValue("UNC3"), ConvertUncEntry("\\\\srv\\other;Y:;bob;pw;1;0"));
    EXPECT_EQ(UserNameValue("UNCEncrypted"), "1");

    const std::string once = UserNameValue("UNC1");
    test::RecordingStartupHost again;
    ASSERT_EQ(Main(fx_.Ports(), again, fx_.app).outcome, StartupOutcome::Running);
    EXPECT_EQ(UserNameValue("UNC1"), once);
}

TEST(ConvertUncEntryTest, KeepsEveryFieldAndPadsShortEntries) {
    EXPECT_EQ(ConvertUncEntry("a;b"), Obscure("a") + ";" + Obscure("b") + ";;;;;");
    EXPECT_EQ(ConvertUncEntry("a;b;c;d;e;f;g"), ConvertUncEntry("a;b;c;d;e;f") + Obscure("g") + ";");
    EXPECT_EQ(ConvertUncEntry("a;;c;d;e;f;"), ConvertUncEntry("a;;c;d;e;f"));
}

TEST_F(StartupTest, FirstTimeUserIsWrittenAndNoUserSkipsTheConnectionWait) {
    fx_.registry.WriteDword(RegistryRoot::CurrentUser, kConnectionKey, "Status", 1);
    fx_.services.states["Grp Backup Service"] = kServiceRunning;
    ASSERT_EQ(Start().outcome, StartupOutcome::Running);

    EXPECT_EQ(fx_.registry.Read(RegistryRoot::CurrentUser, kVendorKey, "FirstTimeUser").AsText(), "TRUE");
    EXPECT_EQ(fx_.clock.sleeps, std::vector<std::uint32_t>{1000});
}

TEST_F(StartupTest, AConnectedUserWaitsTwentySecondsOtherStatesDoNot) {
    fx_.SetCurrentUser("alice");
    fx_.services.states["Grp Backup Service"] = kServiceRunning;
    for (std::uint32_t status : {0u, 3u, 2u, 1u}) {
        fx_.clock.sleeps.clear();
        fx_.registry.WriteDword(RegistryRoot::CurrentUser, kConnectionKey, "Status", status);
        test::RecordingStartupHost host;
        ASSERT_EQ(Main(fx_.Ports(), host, fx_.app).outcome, StartupOutcome::Running);
        const bool waited = fx_.clock.sleeps == std::vector<std::uint32_t>{1000, 20000};
        EXPECT_EQ(waited, status == 1 || status == 2) << status;
    }
    const std::vector<std::string> lines = TraceLines(UserFolder("alice") / "TrayTraceFile.txt");
    EXPECT_TRUE(HasLine(lines, "  [INFORMATION] Username : alice"));
    EXPECT_TRUE(HasLine(lines, "alice  [INFORMATION] ReConnect ="));
    EXPECT_TRUE(HasLine(lines, "  [INFORMATION] Connection Parameter = 1/2, so waiting for 20 secs"));
    EXPECT_TRUE(HasLine(lines, "  [INFORMATION] Connection Parameters =1"));
}

TEST_F(StartupTest, AnInstalledProductLogsOutAnUnauthenticatedUserAndRecordsAnAuthenticatedOne) {
    fx_.SetCurrentUser("alice");
    fx_.registry.WriteString(RegistryRoot::CurrentUser, "Software\\Grp Backup", "InstalledFirst", "1");
    fx_.registry.WriteDword(RegistryRoot::CurrentUser, kConnectionKey, "Status", 3);

    ASSERT_EQ(Start().outcome, StartupOutcome::Running);
    EXPECT_EQ(fx_.registry.Read(RegistryRoot::CurrentUser, kConnectionKey, "Status").AsText(), "0");
    EXPECT_EQ(UserNameValue("CurrentUser"), "");

    fx_.profiles.Write(ProfileFile("alice"), "Orvessa", Obscure("Authenticated"), Obscure("1"));
    fx_.registry.WriteDword(RegistryRoot::CurrentUser, kConnectionKey, "Status", 3);
    test::RecordingStartupHost again;
    ASSERT_EQ(Main(fx_.Ports(), again, fx_.app).outcome, StartupOutcome::Running);
    EXPECT_EQ(fx_.registry.Read(RegistryRoot::CurrentUser, kConnectionKey, "Status").AsText(), "3");
    EXPECT_EQ(UserNameValue("CurrentUser"), "alice");
}

TEST_F(StartupTest, AMissingServiceIsInstalledThroughItsBatchFiles) {
    fx_.SetCurrentUser("alice");
    ASSERT_EQ(Start().outcome, StartupOutcome::Running);

    ASSERT_GE(fx_.shell.requests.size(), 2u);
    EXPECT_EQ(fx_.shell.requests[0].file, fx_.app / "InstallGrpService.bat");
    EXPECT_EQ(fx_.shell.requests[0].show, ShowMode::Hidden);
    EXPECT_EQ(fx_.shell.requests[1].file, fx_.app / "StartGrpService.bat");
    const std::vector<std::string> lines = TraceLines(UserFolder("alice") / "TrayTraceFile.txt");
    const std::vector<std::string> expected = {
        Info("Checking Background running..1"),
        std::string(kStamp) + "   [ERROR] Service is not installed",
        "03-14-2026 09:30:02   [INFORMATION] Service installed",
        "03-14-2026 09:30:02   [ERROR] Grp Backup Service installation failed",
    };
    const auto at = std::find(lines.begin(), lines.end(), expected[0]);
    ASSERT_NE(at, lines.end());
    ASSERT_GE(std::distance(at, lines.end()), 4);
    EXPECT_EQ(std::vector<std::string>(at, at + 4), expected);
}

TEST_F(StartupTest, TheEnginesStatusIndicatorMovesToTheMonitorsKey) {
    fx_.SetCurrentUser("alice");
    fx_.profiles.Write(ProfileFile("alice"), "BackupStatus", "StausMessageIndicaton", "Q1");
    fx_.profiles.Write(ProfileFile("alice"), "BackupStatus", "StatusMessageIndicaton", "old");
    ASSERT_EQ(Start().outcome, StartupOutcome::Running);

    EXPECT_EQ(fx_.profiles.Read(ProfileFile("alice"), "BackupStatus", "StatusMessageIndicaton"), "Q1");
    EXPECT_EQ(fx_.profiles.Read(ProfileFile("alice"), "BackupStatus", "StausMessageIndicaton"), "");
}

TEST_F(StartupTest, TrayZeroStartsTheBackgroundEngineOnlyWhenAsked) {
    fx_.services.states["Grp Backup Service"] = kServiceRunning;
    fx_.profiles.Write(UserNameFile(), "Registry", "Tray", "0");
    ASSERT_EQ(Start().outcome, StartupOutcome::Running);
    ASSERT_EQ(fx_.shell.requests.size(), 1u);
    EXPECT_EQ(fx_.shell.requests[0].file, fx_.app / "GrpBackground.exe");
}

TEST_F(StartupTest, ProductOneHidesTheOtherProductsEntriesAndCaptionsItsOwn) {
    fx_.WriteConfiguration(
        "[ProductInfo]\r\nProductNumber=1\r\nProductName=Orvessa Professional\r\n"
        "ProductInstallationName=Orvessa Professional\r\nProductTreeViewName=Tree\r\n"
        "ProductCaption=Orvessa Pro\r\n");
    const StartupResult result = Start();
    ASSERT_EQ(result.outcome, StartupOutcome::Running);
    const TrayMenuModel& menu = result.context->trayMenu;
    for (TrayMenuItem item : {TrayMenuItem::MnuQuotaExceeded, TrayMenuItem::GBAdditional, TrayMenuItem::BLLine,
                              TrayMenuItem::MnuOpenDrive}) {
        EXPECT_FALSE(menu.Item(item).visible);
        EXPECT_FALSE(menu.Item(item).enabled);
    }
    EXPECT_EQ(menu.Item(TrayMenuItem::MnuOptions).caption, "Orvessa Pro");
    EXPECT_EQ(menu.Item(TrayMenuItem::mnuSession).caption, "Orvessa Pro Log Viewer");
    EXPECT_TRUE(menu.Item(TrayMenuItem::MnuOpen).enabled);
    EXPECT_EQ(host_.mutexName, "OVPMonitorexe");
}

TEST_F(StartupTest, LocalisedTextsNameTheLogViewerAndTheEntries) {
    CreateFolders(fx_.app / "Lang");
    WriteAll(fx_.app / "Lang" / "English.txt", "1575=Visor de\n433=Salir de Tallux\n");
    const StartupResult result = Start();
    ASSERT_EQ(result.outcome, StartupOutcome::Running);
    EXPECT_EQ(result.context->trayMenu.Item(TrayMenuItem::mnuSession).caption, "Visor de Grp Caption");
    EXPECT_EQ(result.context->trayMenu.Item(TrayMenuItem::MnuExit).caption, "Salir de Grp Online");
}

TEST_F(StartupTest, WebManagementIsCheckedOnlyForALoggedInUserWhoLeftItOn) {
    fx_.SetCurrentUser("alice");
    fx_.profiles.Write(ProfileFile("alice"), "Web", "WebPlugin", "1");
    EXPECT_TRUE(Start().context->trayMenu.Item(TrayMenuItem::WebPlugin).checked);
    fx_.profiles.Write(ProfileFile("alice"), "Web", "WebPlugin", "0");
    test::RecordingStartupHost again;
    EXPECT_FALSE(Main(fx_.Ports(), again, fx_.app).context->trayMenu.Item(TrayMenuItem::WebPlugin).checked);
}

TEST(LargeFontsTest, OnlyAKnownResolutionOtherThan96Counts) {
    for (const int dpi : {0, 96, 120, 144}) {
        EXPECT_EQ(IsLargeFonts(dpi), dpi == 120 || dpi == 144) << dpi;
    }
}

}  // namespace
}  // namespace ovp
