#include "commands/tray_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/files.h"
#include "support/app_fixture.h"
#include "support/fake_command_host.h"
#include "support/fake_tray.h"

namespace ovp {
namespace {

using Item = TrayMenuItem;
using Lines = std::vector<std::string>;

constexpr std::string_view kLinks =
    "[WebLink]\r\nAccountUpgradeLink=https://www.example.com/upgrade?accName=\r\n"
    "PromoteLink=https://www.example.com/promo?u=\r\n";

class TrayCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override { Configure(5, "Grp Online"); }

    void Configure(int productNumber, std::string_view productName, std::string_view language = "English") {
        fx_ = std::make_unique<test::AppFixture>();
        fx_->WriteConfiguration(
            "[ProductInfo]\r\nProductNumber=" + std::to_string(productNumber) +
            "\r\nProductName=" + std::string(productName) +
            "\r\nProductInstallationName=Grp Backup\r\nProductTreeViewName=Grp Tree\r\nProductCaption=Grp Caption\r\n"
            "ExeGroup=Grp\r\nLanguage=" +
            std::string(language) + "\r\n" + std::string(kLinks));
        fx_->SetCurrentUser("alice");
        CreateFolders(User(""));
        CreateFolders(fx_->app / "Grp Backup");
        commands_ = std::make_unique<TrayCommands>(CommandEnv{fx_->Context(), box_, tray_, host_});
    }

    AppContext& Context() { return fx_->Context(); }
    std::filesystem::path User(std::string_view name) { return fx_->app / "Grp Backupalice" / name; }
    void Profile(std::string_view section, std::string_view key, std::string_view value) {
        Context().values.WriteProfile(section, key, value);
    }
    std::string Profile(std::string_view section, std::string_view key) {
        return Context().values.ReadProfile(section, key);
    }
    void Connected(std::uint32_t status) {
        fx_->registry.WriteDword(RegistryRoot::CurrentUser, "Software\\Harrowlane\\Grp Backup\\Connection Parameters",
                                 "Status", status);
    }
    const TrayMenuEntry& Shown(Item item) { return host_.popped.back().Item(item); }
    void RightClick() { commands_->SysTrayMouseEventHandler(TrayMouse::RightUp); }
    void DoubleClick() { commands_->SysTrayMouseEventHandler(TrayMouse::DoubleClick); }
    std::vector<std::string> Opened() {
        std::vector<std::string> opened;
        for (const ShellRequest& request : fx_->shell.requests) {
            opened.push_back(Utf8FromPath(request.file));
        }
        return opened;
    }

    std::unique_ptr<test::AppFixture> fx_;
    test::ScriptedMessageBox box_;
    test::FakeTrayIcon tray_;
    test::RecordingCommandHost host_;
    std::unique_ptr<TrayCommands> commands_;
};

// ---- The menu as a right-click shows it ---------------------------------------------------------

TEST_F(TrayCommandsTest, CaptionsAndStatesFollowTheConnectionAndTheProduct) {
    struct Case {
        int product;
        std::uint32_t status;
        std::string options, drive;
        bool driveShown, loginEnabled, cdpEnabled;
    } cases[] = {
        {5, 1, "Grp Online - Schedule Backup", "Open Grp Online Explorer", true, true, true},
        {5, 2, "Grp Online - Schedule Backup", "Open Grp Online Explorer", true, true, true},
        {5, 0, "Login - Grp Online Schedule Backup", "Login - Grp Online Explorer", true, false, false},
        {5, 3, "Login - Grp Online Schedule Backup", "Login - Grp Online Explorer", true, false, false},
        {1, 1, "Grp Caption", "&TalluxE Drive", false, true, true},
        {1, 0, "Login - Grp Caption", "&TalluxE Drive", false, false, false},
    };
    for (const Case& c : cases) {
        Configure(c.product, "Grp Online");
        Connected(c.status);
        Context().transfer.Trf_WriteUserProfileWithoutEncryptIdle("RealTimeBackup", "1");
        RightClick();
        const std::string name = std::to_string(c.product) + "/" + std::to_string(c.status);
        // Logged out, continuous backup can be neither on nor switched.
        EXPECT_EQ(std::tuple(Shown(Item::MnuOptions).caption, Shown(Item::MnuOpenDrive).caption,
                             Shown(Item::MnuOpenDrive).visible, Shown(Item::MnuLogin).enabled,
                             Shown(Item::mnuCDP).enabled, Shown(Item::mnuCDP).checked),
                  std::tuple(c.options, c.drive, c.driveShown, c.loginEnabled, c.cdpEnabled, c.cdpEnabled))
            << name;
        if (c.product == 1) {
            for (const Item item : {Item::MnuQuotaExceeded, Item::BLLine, Item::GBAdditional}) {
                EXPECT_FALSE(Shown(item).visible) << name;
            }
        }
    }
    EXPECT_EQ(host_.calls.back(), "menu");
    EXPECT_NE(DecodeTextFile(test::ReadAll(fx_->app / "Grp Backup" / "TrayTraceFile.txt"))
                  .find("  [INFORMATION] Connection param = 0"),
              std::string::npos);
}

TEST_F(TrayCommandsTest, QuotaItemsAndTheFreeOfferForExactlyTwoGigabytesOfTheBrandProduct) {
    struct Case {
        std::string_view product;
        std::string_view max;
        bool marker;
        std::string quotaCaption;
        bool offer;
    } cases[] = {
        {"Tallux", "2147483648", false, "Upgrade Account", true},
        {"Tallux", "2147483648.0", false, "Upgrade Account", true},
        {"Tallux", "2147483647", false, "Upgrade Account", false},
        {"Tallux", "4294967296", false, "Upgrade Account", false},
        {"Grp Online", "2147483648", false, "Upgrade Account", false},
        {"Tallux", "2147483648", true, "Quota Exceeded. Upgrade Now!", false},
    };
    for (const Case& c : cases) {
        Configure(5, c.product);
        Connected(1);
        Profile("QuotaStatus", "Max", c.max);
        if (c.marker) {
            test::WriteAll(User("QuotaExceeded.txt"), "");
        }
        RightClick();
        const std::string name = std::string(c.product) + " " + std::string(c.max);
        EXPECT_EQ(Shown(Item::MnuQuotaExceeded).caption, c.quotaCaption) << name;
        EXPECT_TRUE(Shown(Item::MnuQuotaExceeded).visible && Shown(Item::BLLine).visible) << name;
        EXPECT_EQ(Shown(Item::GBAdditional).visible, c.offer) << name;
    }
}

TEST_F(TrayCommandsTest, StopIsEnabledOnlyWhileAScheduledJobRuns) {
    Connected(1);
    test::WriteAll(User("scheduleData.txt"), "1\r\n");
    for (const auto& [status, enabled] : std::vector<std::pair<std::string, bool>>{{"1", true}, {"2", false}}) {
        Profile("BackupStatus", "Status", status);
        RightClick();
        EXPECT_EQ(Shown(Item::mnuStop).enabled, enabled) << status;
    }
}

TEST_F(TrayCommandsTest, WebManagementIsOnUnlessSwitchedOffOrInError) {
    struct Case {
        std::string_view plugin, errVal;
        bool checked;
        std::string errValAfter;
    } cases[] = {
        {"", "", true, ""},
        {"1", "5", true, ""},
        {"0", "", false, ""},
        {"1", "-2", false, "-2"},
    };
    for (const Case& c : cases) {
        Profile("Web", "WebPlugin", c.plugin);
        Profile("OLWA", "ErrVal", c.errVal);
        commands_->MenuRefresh();
        EXPECT_EQ(Context().trayMenu.Item(Item::WebPlugin).checked, c.checked) << c.plugin << c.errVal;
        EXPECT_EQ(Profile("OLWA", "ErrVal"), c.errValAfter) << c.plugin << c.errVal;
    }
}

// ---- The double-click ---------------------------------------------------------------------------

TEST_F(TrayCommandsTest, DoubleClickWithTheQuotaMarkerOpensTheUpgradePageOnce) {
    Configure(5, "Grp Online", "Spanish");
    fx_->SetCurrentUser("al ice&x");
    Connected(1);
    const auto marker = fx_->app / "Grp Backupal ice&x" / "QuotaExceeded.txt";
    test::WriteAll(marker, "");
    Context().trayStatus.TrayStateCode = 16;
    fx_->shell.answer = ShellResult{31, 1155, "No association"};
    DoubleClick();
    EXPECT_EQ(Opened(), Lines(2, "https://www.example.com/upgrade?accName=al%20ice%26x &country=ES&lang=es"));
    EXPECT_FALSE(FileExists(marker));
    EXPECT_EQ(Context().trayStatus.TrayStateCode, 0);
    EXPECT_EQ(Context().values.ReadUserNameOrvessa("RTBackup"), "0");

    // A failure other than "no association" is not asked again; without the marker the main
    // application is started instead.
    fx_->shell.requests.clear();
    fx_->shell.answer = ShellResult{2, 2, "Not found"};
    test::WriteAll(marker, "");
    DoubleClick();
    EXPECT_EQ(Opened().size(), 1u);
    DoubleClick();
    EXPECT_EQ(Opened().back(), Utf8FromPath(fx_->app / "GrpClassic.exe"));
}

TEST_F(TrayCommandsTest, DoubleClickExplainsAContinuousBackupFailureAfterResettingIt) {
    for (const int code : {12, 13, 15, 17, 18, 19, 20}) {
        Context().trayStatus.TrayStateCode = static_cast<std::int16_t>(code);
        Context().values.WriteUserNameOrvessa("RTBackup", std::to_string(code - 10));
        DoubleClick();
        EXPECT_EQ(Context().trayStatus.TrayStateCode, 0) << code;
        EXPECT_EQ(Context().values.ReadUserNameOrvessa("RTBackup"), "0") << code;
    }
    ASSERT_EQ(box_.shown.size(), 7u);
    EXPECT_EQ(box_.shown[0].secondCaption, "Close");
    EXPECT_FALSE(box_.shown[0].showFirst);
    EXPECT_TRUE(fx_->shell.requests.empty());
}

TEST_F(TrayCommandsTest, DoubleClickBringsTheInteractiveUsersApplicationForwardOrStartsIt) {
    Context().values.WriteUserNameOrvessa("Interactive", "bob");
    fx_->windows.Add("Grp Caption Backup (alice)");
    const WindowHandle bobs = fx_->windows.Add("Grp Caption Backup (bob)");
    Context().trayStatus.TrayStateCode = 14;  // no message of its own
    DoubleClick();
    EXPECT_EQ(fx_->windows.calls, (std::vector<std::pair<std::string, WindowHandle>>{{"front", bobs}}));
    EXPECT_TRUE(fx_->shell.requests.empty());

    fx_->windows.windows.clear();
    DoubleClick();
    ASSERT_EQ(fx_->shell.requests.size(), 1u);
    EXPECT_EQ(fx_->shell.requests[0].verb, "open");
    EXPECT_EQ(fx_->shell.requests[0].file, fx_->app / "GrpClassic.exe");
}

TEST_F(TrayCommandsTest, AFinishedJobsStatusIsResetButAPendingStopRequestIsKept) {
    struct Case {
        std::string_view status, dllStatus, after;
    } cases[] = {{"0", "3", "0"}, {"0", "4", "0"}, {"0", "2", "2"}, {"5", "3", "3"}};
    for (const Case& c : cases) {
        Profile("BackupStatus", "Status", c.status);
        Profile("BackupStatus", "DLLStatus", c.dllStatus);
        commands_->OnMenuCommand(Item::MnuViewLog);
        EXPECT_EQ(Profile("BackupStatus", "DLLStatus"), c.after) << c.status << c.dllStatus;
    }
    EXPECT_EQ(host_.calls.front(), "open " + std::to_string(static_cast<int>(FeatureWindow::LogViewer)));
}

// ---- The handlers -------------------------------------------------------------------------------

TEST_F(TrayCommandsTest, StopDisablesItselfWhenNoJobRunsAndWritesTheRequestWhenOneDoes) {
    test::WriteAll(User("scheduleData.txt"), "0\r\n");
    commands_->OnMenuCommand(Item::mnuStop);
    EXPECT_FALSE(Context().trayMenu.Item(Item::mnuStop).enabled);
    EXPECT_EQ(Profile("BackupStatus", "Status"), "");

    test::WriteAll(User("scheduleData.txt"), "3\r\n");
    commands_->OnMenuCommand(Item::mnuStop1);  // the older menu's twin
    EXPECT_EQ(Profile("BackupStatus", "Status") + Profile("BackupStatus", "DLLStatus"), "53");
}

TEST_F(TrayCommandsTest, DisableScheduledBackupTogglesAndTwiceRestores) {
    Context().transfer.Trf_WriteUserProfile("ScheduleDisable", "FALSE");
    commands_->MenuRefresh();
    commands_->OnMenuCommand(Item::MnuDisableAutobkup);
    EXPECT_EQ(Context().transfer.Trf_ReadUserProfile("ScheduleDisable"), "TRUE");
    EXPECT_TRUE(Context().trayMenu.Item(Item::MnuDisableAutobkup).checked);
    commands_->OnMenuCommand(Item::MnuDisableAutobkup);
    EXPECT_EQ(Context().transfer.Trf_ReadUserProfile("ScheduleDisable"), "FALSE");
    EXPECT_EQ(Context().trayMenu.Item(Item::MnuDisableAutobkup).caption, "Disable Scheduled Backup");
}

TEST_F(TrayCommandsTest, ProgramsAndPagesAreOpenedByFullPath) {
    fx_->windows.Add("Grp Caption");
    commands_->OnMenuCommand(Item::mnuBackupNowIDE);
    EXPECT_EQ(Profile("BackupStatus", "BackupNowTray"), "1");
    ASSERT_EQ(fx_->windows.calls.size(), 1u);
    EXPECT_EQ(fx_->windows.calls[0].first, "close");
    commands_->OnMenuCommand(Item::MnuOpenDrive);
    commands_->OnMenuCommand(Item::MnuHelp);
    commands_->OnMenuCommand(Item::GBAdditional);
    EXPECT_EQ(Opened(), (Lines{Utf8FromPath(fx_->app / "GrpClassic.exe"), Utf8FromPath(fx_->app / "GrpLaunchDrive.exe"),
                               Utf8FromPath(fx_->app / "GrpHelp.chm"), "https://www.example.com/promo?u=alice"}));
    EXPECT_EQ(fx_->shell.requests[1].arguments, "LaunchDrive");
    Configure(1, "Grp Online");  // the brand product's guide has its own name
    commands_->OnMenuCommand(Item::MnuHelp);
    EXPECT_EQ(Opened(), Lines{Utf8FromPath(fx_->app / "OVP Help.chm")});
}

}  // namespace
}  // namespace ovp
