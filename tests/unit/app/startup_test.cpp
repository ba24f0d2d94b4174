#include "app/startup.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/files.h"
#include "base/text.h"
#include "contract/engine_contract.h"
#include "settings/obscure.h"
#include "support/app_fixture.h"

namespace ovp {
namespace {

using test::ReadAll;
using test::WriteAll;
using Lines = std::vector<std::string>;

constexpr std::string_view kStamp = "03-14-2026 09:30:00";
constexpr std::string_view kConnectionKey = "Software\\Harrowlane\\Grp Backup\\Connection Parameters";

Lines TraceLines(const fs::path& file) {
    Lines lines = Split(DecodeTextFile(ReadFileBytes(file).value_or("")), "\r\n");
    if (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    return lines;
}

std::string Info(std::string_view message) {
    return std::string(kStamp) + "  [INFORMATION] " + std::string(message);
}

bool HasLine(const Lines& lines, std::string_view text) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.size() == kStamp.size() + text.size() && line.ends_with(text);
    });
}

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override { fx_.WriteConfiguration(); }

    StartupResult Start() {
        host_.calls.clear();
        return Main(fx_.Ports(), host_, fx_.app);
    }
    void StartRunning() { ASSERT_EQ(Start().outcome, StartupOutcome::Running); }

    fs::path StartFolder() const { return fx_.app / "Grp Backup"; }
    fs::path Alice() const { return fx_.app / "Grp Backupalice"; }
    fs::path AliceProfile() const { return Alice() / "Grp Backup.ini"; }
    void SetAlice() {
        fx_.SetCurrentUser("alice");
        CreateFolders(Alice());
    }
    std::string UserNameValue(std::string_view key) {
        return fx_.profiles.Read(fx_.app / "UserName.ini", contract::kRegistrySection, key);
    }
    void SetConnectionStatus(std::uint32_t status) {
        fx_.registry.WriteDword(RegistryRoot::CurrentUser, kConnectionKey, "Status", status);
    }
    std::string ConnectionStatus() {
        return fx_.registry.Read(RegistryRoot::CurrentUser, kConnectionKey, "Status").AsText();
    }
    void ServiceRuns() { fx_.services.states["Grp Backup Service"] = kServiceRunning; }

    test::AppFixture fx_;
    test::RecordingStartupHost host_;
};

TEST_F(StartupTest, WithoutAUsableConfigurationTheProgramEndsAtOnceAndCreatesNothing) {
    fx_.WriteConfiguration(test::GroupConfiguration("..\\outside"));
    EXPECT_EQ(Start().outcome, StartupOutcome::NoConfiguration);
    EXPECT_TRUE(host_.calls.empty());
    EXPECT_EQ(fx_.registry.writeCount + fx_.profiles.writeCount, 0);
    EXPECT_TRUE(fx_.shell.requests.empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(fx_.dir.Path()), fs::directory_iterator()), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(fx_.app), fs::directory_iterator()), 1);  // the configuration
}

TEST_F(StartupTest, OnlyAMonitorThatFoundTheMutexAndSeesAnotherEndsBeforeTouchingItsFiles) {
    CreateFolders(StartFolder());
    WriteAll(StartFolder() / "TrayTraceFile.txt", "first");
    SetAlice();
    WriteAll(Alice() / "TrayTraceFile.txt", "first user");
    ServiceRuns();
    // Two monitors started at the same moment both see the other: the mutex's creator stays.
    const struct {
        bool mutexCreated;
        bool otherInstance;
        StartupOutcome outcome;
    } cases[] = {{false, true, StartupOutcome::SecondInstance},
                 {true, true, StartupOutcome::Running},
                 {false, false, StartupOutcome::Running},
                 {true, false, StartupOutcome::Running}};
    for (const auto& c : cases) {
        host_.mutexCreated = c.mutexCreated;
        host_.otherInstance = c.otherInstance;
        EXPECT_EQ(Start().outcome, c.outcome) << c.mutexCreated << c.otherInstance;
        if (c.outcome == StartupOutcome::SecondInstance) {
            EXPECT_EQ(host_.calls, (Lines{"CreateAppMutex GrpTrayexe", "OtherInstanceRunning"}));
            EXPECT_EQ(ReadAll(StartFolder() / "TrayTraceFile.txt"), "first");
            EXPECT_EQ(ReadAll(Alice() / "TrayTraceFile.txt"), "first user");
            EXPECT_EQ(fx_.registry.writeCount, 0);
        }
    }
}

TEST_F(StartupTest, AnEmptiedStartFolderHoldsTheFirstLinesWhichMoveIntoTheUsersTraceInStepOrder) {
    WriteAll(StartFolder() / "old" / "left.txt", "x");
    WriteAll(StartFolder() / "left.txt", "x");
    SetAlice();
    WriteAll(Alice() / "TrayTraceFile.txt", "last run's trace");
    WriteAll(Alice() / "TempRecVals.txt", "x");
    WriteAll(Alice() / "keep.txt", "x");
    WriteAll(fx_.app / "keep.txt", "x");
    ServiceRuns();
    StartRunning();

    Lines expected;
    for (std::string_view line : {"Started Tray...", "checking if GrpBackground.exe is running",
                                  "After creating default files...", "Default user: alice"}) {
        expected.push_back(Info(line));
    }
    EXPECT_EQ(TraceLines(StartFolder() / "TrayTraceFile.txt"), expected);
    for (std::string_view line : {"Default useralice", "before Setappdir", "after setappdir", "after create appmutex",
                                  "Checking Background running..1"}) {
        expected.push_back(Info(line));
    }
    const Lines userLines = TraceLines(Alice() / "TrayTraceFile.txt");
    ASSERT_GE(userLines.size(), expected.size());
    EXPECT_EQ(Lines(userLines.begin(), userLines.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected);
    EXPECT_FALSE(FileExists(Alice() / "TempRecVals.txt"));
    EXPECT_EQ(std::distance(fs::directory_iterator(StartFolder()), fs::directory_iterator()), 1);  // the trace
    EXPECT_TRUE(FileExists(Alice() / "keep.txt"));
    EXPECT_TRUE(FileExists(fx_.app / "keep.txt"));
}

TEST_F(StartupTest, HostStepsRunInOrderAndAMissingMainFormEndsStartUp) {
    ServiceRuns();
    host_.dpi = 0;  // unknown counts as normal
    const StartupResult result = Start();
    ASSERT_EQ(result.outcome, StartupOutcome::Running);
    EXPECT_EQ(host_.calls,
              (Lines{"CreateAppMutex GrpTrayexe", "OtherInstanceRunning", "SetCurrentFolder", "LoadMainForm",
                     "SetFormIcon", "AddTrayIcon", "StartTimer 5 2000", "StartTimer 1 20000", "MinimizeAndHide"}));
    EXPECT_EQ(host_.currentFolder, fx_.app);
    EXPECT_EQ(host_.formIcon, fx_.app / "Images" / "ovlog.ico");
    EXPECT_FALSE(result.context->largeFonts);
    EXPECT_TRUE(IsLargeFonts(120));

    host_.failLoad = true;
    EXPECT_EQ(Start().outcome, StartupOutcome::NoMainForm);
    EXPECT_EQ(host_.calls.back(), "LoadMainForm");
}

TEST(RecreateStartFolderTest, NeverFollowsAStartFolderThatLinksElsewhere) {
    test::TempDir dir;
    CreateFolders(dir / "app");
    WriteAll(dir / "elsewhere" / "keep.txt", "x");
    std::error_code error;
    fs::create_directory_symlink(dir / "elsewhere", dir / "app" / "Grp Backup", error);
    if (error) {
        GTEST_SKIP() << "no folder links here";
    }
    test::StdFileSystem files;
    EXPECT_TRUE(RecreateStartFolder(Folders(dir / "app", "Grp Backup"), files));
    EXPECT_TRUE(FileExists(dir / "elsewhere" / "keep.txt"));
}

TEST_F(StartupTest, AnUnsafeUserNameCountsAsNoUserAndNothingOutsideIsTouched) {
    const fs::path outside = fx_.dir / "outside";
    WriteAll(outside / "TrayTraceFile.txt", "outside");
    WriteAll(outside / "TempRecVals.txt", "outside");
    fx_.SetCurrentUser("/../../outside");  // a separator on every system
    StartRunning();
    EXPECT_EQ(ReadAll(outside / "TrayTraceFile.txt"), "outside");
    EXPECT_EQ(ReadAll(outside / "TempRecVals.txt"), "outside");
    EXPECT_TRUE(HasLine(TraceLines(StartFolder() / "TrayTraceFile.txt"), "  [INFORMATION] Default user: "));
}

TEST_F(StartupTest, OpenFileModeTwoBecomesZeroInItsOwnKindAndOtherValuesStay) {
    const std::string key = "Software\\Grp Backup";
    const auto after = [&] {
        StartRunning();
        const RegistryValue value = fx_.registry.Read(RegistryRoot::LocalMachine, key, "OpenFileMode");
        return std::pair(value.kind, value.AsText());
    };
    EXPECT_EQ(after(), std::pair(RegistryValue::Kind::Missing, std::string()));
    fx_.registry.WriteString(RegistryRoot::LocalMachine, key, "OpenFileMode", "22");
    EXPECT_EQ(after(), std::pair(RegistryValue::Kind::String, std::string("22")));
    fx_.registry.WriteString(RegistryRoot::LocalMachine, key, "OpenFileMode", "2");
    EXPECT_EQ(after(), std::pair(RegistryValue::Kind::String, std::string("0")));
    fx_.registry.WriteDword(RegistryRoot::LocalMachine, key, "OpenFileMode", 2);
    EXPECT_EQ(after(), std::pair(RegistryValue::Kind::Dword, std::string("0")));
}

TEST_F(StartupTest, LoadFixesTheUsersProfileValues) {
    fx_.SetCurrentUser("alice");
    fx_.profiles.Write(AliceProfile(), "BackupStatus", "StausMessageIndicaton", "Q1");
    fx_.profiles.Write(AliceProfile(), "BackupStatus", "StatusMessageIndicaton", "old");
    const auto disabled = [&] { return fx_.profiles.Read(AliceProfile(), "Orvessa", Obscure("ScheduleDisable")); };
    const auto checked = [](const StartupResult& result) {
        return result.context->trayMenu.Item(TrayMenuItem::MnuDisableAutobkup).checked;
    };
    EXPECT_FALSE(checked(Start()));
    EXPECT_EQ(disabled(), Obscure("FALSE"));
    // The engine's misspelt status indicator moves to the monitor's key.
    EXPECT_EQ(fx_.profiles.Read(AliceProfile(), "BackupStatus", "StatusMessageIndicaton"), "Q1");
    EXPECT_EQ(fx_.profiles.Read(AliceProfile(), "BackupStatus", "StausMessageIndicaton"), "");

    fx_.profiles.Write(AliceProfile(), "Orvessa", Obscure("ScheduleDisable"), Obscure("TRUE"));
    EXPECT_TRUE(checked(Start()));
    EXPECT_EQ(disabled(), Obscure("TRUE"));
}

TEST_F(StartupTest, NetworkShareEntriesAreObscuredOnce) {
    for (const auto& [key, value] : {std::pair{"UNCCount", "3"}, std::pair{"UNC1", "  \\\\srv\\share;Z:;bob;pw;1;0  "},
                                     std::pair{"UNC3", "\\\\srv\\other;Y:;bob;pw;1;0;"}}) {
        fx_.profiles.Write(fx_.app / "UserName.ini", "Registry", key, value);
    }
    StartRunning();
    std::string unc1;
    for (std::string_view field : {"\\\\srv\\share", "Z:", "bob", "pw", "1", "0"}) {
        unc1 += Obscure(field) + ";";
    }
    EXPECT_EQ(UserNameValue("UNC1"), unc1);
    EXPECT_EQ(UserNameValue("UNC2"), "");
    EXPECT_EQ(UserNameValue("UNC3"), ConvertUncEntry("\\\\srv\\other;Y:;bob;pw;1;0"));
    EXPECT_EQ(UserNameValue("UNCEncrypted"), "1");

    StartRunning();
    EXPECT_EQ(UserNameValue("UNC1"), unc1);
}

TEST(ConvertUncEntryTest, KeepsEveryFieldAndPadsShortEntries) {
    EXPECT_EQ(ConvertUncEntry("a;b"), Obscure("a") + ";" + Obscure("b") + ";;;;;");
    EXPECT_EQ(ConvertUncEntry("a;b;c;d;e;f;g"), ConvertUncEntry("a;b;c;d;e;f") + Obscure("g") + ";");
    EXPECT_EQ(ConvertUncEntry("a;;c;d;e;f;"), ConvertUncEntry("a;;c;d;e;f"));
}

TEST_F(StartupTest, OnlyAConnectedKnownUserWaitsTwentySecondsAndFirstTimeUserIsWritten) {
    SetConnectionStatus(1);
    ServiceRuns();
    StartRunning();  // no user: no connection wait at all
    EXPECT_EQ(fx_.clock.sleeps, std::vector<std::uint32_t>{1000});
    EXPECT_EQ(
        fx_.registry.Read(RegistryRoot::CurrentUser, "Software\\Harrowlane\\Grp Backup", "FirstTimeUser").AsText(),
        "TRUE");

    fx_.SetCurrentUser("alice");
    for (std::uint32_t status : {0u, 3u, 2u, 1u}) {
        fx_.clock.sleeps.clear();
        SetConnectionStatus(status);
        StartRunning();
        const bool waited = fx_.clock.sleeps == std::vector<std::uint32_t>{1000, 20000};
        EXPECT_EQ(waited, status == 1 || status == 2) << status;
    }
    const Lines lines = TraceLines(Alice() / "TrayTraceFile.txt");
    EXPECT_TRUE(HasLine(lines, "  [INFORMATION] Username : alice"));
    EXPECT_TRUE(HasLine(lines, "alice  [INFORMATION] ReConnect ="));
    EXPECT_TRUE(HasLine(lines, "  [INFORMATION] Connection Parameter = 1/2, so waiting for 20 secs"));
    EXPECT_TRUE(HasLine(lines, "  [INFORMATION] Connection Parameters =1"));
}

TEST_F(StartupTest, AnInstalledProductLogsOutAnUnauthenticatedUserAndRecordsAnAuthenticatedOne) {
    fx_.SetCurrentUser("alice");
    fx_.registry.WriteString(RegistryRoot::CurrentUser, "Software\\Grp Backup", "InstalledFirst", "1");
    SetConnectionStatus(3);
    StartRunning();
    EXPECT_EQ(ConnectionStatus(), "0");
    EXPECT_EQ(UserNameValue("CurrentUser"), "");

    fx_.profiles.Write(AliceProfile(), "Orvessa", Obscure("Authenticated"), Obscure("1"));
    SetConnectionStatus(3);
    StartRunning();
    EXPECT_EQ(ConnectionStatus(), "3");
    EXPECT_EQ(UserNameValue("CurrentUser"), "alice");
}

TEST_F(StartupTest, AMissingServiceIsInstalledThroughItsBatchFiles) {
    fx_.SetCurrentUser("alice");
    StartRunning();
    ASSERT_GE(fx_.shell.requests.size(), 2u);
    EXPECT_EQ(fx_.shell.requests[0].file, fx_.app / "InstallGrpService.bat");
    EXPECT_EQ(fx_.shell.requests[0].show, ShowMode::Hidden);
    EXPECT_EQ(fx_.shell.requests[1].file, fx_.app / "StartGrpService.bat");
    const Lines lines = TraceLines(Alice() / "TrayTraceFile.txt");
    const Lines expected = {
        Info("Checking Background running..1"),
        std::string(kStamp) + "   [ERROR] Service is not installed",
        "03-14-2026 09:30:02   [INFORMATION] Service installed",
        "03-14-2026 09:30:02   [ERROR] Grp Backup Service installation failed",
    };
    const auto at = std::find(lines.begin(), lines.end(), expected[0]);
    ASSERT_GE(std::distance(at, lines.end()), 4);
    EXPECT_EQ(Lines(at, at + 4), expected);
}

TEST_F(StartupTest, TrayZeroStartsTheBackgroundEngineOnlyWhenAsked) {
    ServiceRuns();
    fx_.profiles.Write(fx_.app / "UserName.ini", "Registry", "Tray", "0");
    StartRunning();
    ASSERT_EQ(fx_.shell.requests.size(), 1u);
    EXPECT_EQ(fx_.shell.requests[0].file, fx_.app / "GrpBackground.exe");
}

TEST_F(StartupTest, ProductOneHidesTheOtherProductsEntriesAndCaptionsItsOwn) {
    fx_.WriteConfiguration(
        "[ProductInfo]\r\nProductNumber=1\r\nProductName=Orvessa Professional\r\n"
        "ProductInstallationName=Orvessa Professional\r\nProductTreeViewName=Tree\r\nProductCaption=Orvessa Pro\r\n");
    const StartupResult result = Start();
    ASSERT_EQ(result.outcome, StartupOutcome::Running);
    const TrayMenuModel& menu = result.context->trayMenu;
    for (TrayMenuItem item : {TrayMenuItem::MnuQuotaExceeded, TrayMenuItem::GBAdditional, TrayMenuItem::BLLine,
                              TrayMenuItem::MnuOpenDrive}) {
        EXPECT_FALSE(menu.Item(item).visible || menu.Item(item).enabled);
    }
    EXPECT_EQ(menu.Item(TrayMenuItem::MnuOptions).caption, "Orvessa Pro");
    EXPECT_EQ(menu.Item(TrayMenuItem::mnuSession).caption, "Orvessa Pro Log Viewer");
    EXPECT_TRUE(menu.Item(TrayMenuItem::MnuOpen).enabled);
}

TEST_F(StartupTest, LocalisedTextsNameTheLogViewerAndTheEntries) {
    WriteAll(fx_.app / "Lang" / "English.txt", "1575=Visor de\n433=Salir de Tallux\n");
    const StartupResult result = Start();
    const TrayMenuModel& menu = result.context->trayMenu;
    EXPECT_EQ(menu.Item(TrayMenuItem::mnuSession).caption, "Visor de Grp Caption");
    EXPECT_EQ(menu.Item(TrayMenuItem::MnuExit).caption, "Salir de Grp Online");
}

TEST_F(StartupTest, WebManagementIsCheckedOnlyForALoggedInUserWhoLeftItOn) {
    fx_.profiles.Write(AliceProfile(), "Web", "WebPlugin", "1");
    EXPECT_FALSE(Start().context->trayMenu.Item(TrayMenuItem::WebPlugin).checked);
    fx_.SetCurrentUser("alice");
    EXPECT_TRUE(Start().context->trayMenu.Item(TrayMenuItem::WebPlugin).checked);
    fx_.profiles.Write(AliceProfile(), "Web", "WebPlugin", "0");
    EXPECT_FALSE(Start().context->trayMenu.Item(TrayMenuItem::WebPlugin).checked);
}

}  // namespace
}  // namespace ovp
