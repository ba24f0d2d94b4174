// The tray menu as the user meets it: the right button on the icon in the notification area pops
// the menu up, and what it shows is read back from the open menu with the menu functions; the
// commands chosen from it change the files and reach the engine's stand-ins. Which caption and
// state each stored value earns is the unit tests'; here the real menu, shell and processes act.

#include "monitor_fixture.h"
#include "settings/obscure.h"
#include "win32/dialog_ids.h"

namespace ovp::e2e {
namespace {

// The open pop-up menu ("#32768") of that process; null while none is shown.
HWND OpenMenuOf(DWORD processId) {
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (::IsWindowVisible(window) && ClassNameOf(window) == L"#32768") {
            return window;
        }
    }
    return nullptr;
}

class TrayMenuTest : public MonitorTest {
  protected:
    void Start(const wchar_t* language = L"English") {
        LayOut();
        ::WritePrivateProfileStringW(L"ProductInfo", L"Language", language,
                                     (app_ / PathFromUtf8(contract::kConfigurationFile)).c_str());
        const std::vector<HWND> before = TrayIcons();
        monitor_ = StartMonitor();
        window_ = WaitForMainWindow(monitor_);
        ASSERT_NE(window_, nullptr);
        SetConnectionStatus(1);  // after start-up, which may have reset it
        icon_ = WaitForNewTrayIcon(before);
        ASSERT_NE(icon_, nullptr) << "no single new icon in the tray";
    }

    // The right button on the icon pops the menu up; Escape closes it.
    void PopUpMenu() {
        ::PostMessageW(icon_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(4, 4));
        ::PostMessageW(icon_, WM_RBUTTONUP, 0, MAKELPARAM(4, 4));
        HWND open = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (open = OpenMenuOf(monitor_.id)) != nullptr; }, 10s)) << "no menu popped up";
        ::PostMessageW(open, WM_KEYDOWN, VK_ESCAPE, 0);
        ASSERT_TRUE(WaitUntil([&] { return OpenMenuOf(monitor_.id) == nullptr; }, 5s)) << "the menu stayed open";
    }

    void Choose(TrayMenuItem item) { ::PostMessageW(window_, WM_COMMAND, CommandId(item), 0); }

    std::filesystem::path UserFile(std::string_view name) const {
        return folders_.UserFolder(user_) / PathFromUtf8(name);
    }
    std::filesystem::path Profile() const { return folders_.ProfileFile(user_); }

    Child monitor_;
    HWND window_ = nullptr;
    HWND icon_ = nullptr;
};

// What the menu holds is read in the monitor's own process (the window tests): Wine keeps a menu's
// items in the process that made it, so another process cannot read them.
TEST_F(TrayMenuTest, TheRightButtonOnTheIconPopsTheMenuUpAndEscapeClosesIt) {
    ASSERT_NO_FATAL_FAILURE(Start());
    for (int round = 0; round < 2; ++round) {
        ASSERT_NO_FATAL_FAILURE(PopUpMenu()) << round;
    }
}

TEST_F(TrayMenuTest, DoubleClickWithTheQuotaMarkerOpensTheUpgradePageAndRemovesTheMarker) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(ReplaceFileBytes(UserFile(contract::kQuotaExceededFile), ""));
    ::PostMessageW(icon_, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
    ASSERT_TRUE(WaitUntil([&] { return !OpenedUrls().empty(); }, 15s)) << "no link was opened";
    EXPECT_EQ(OpenedUrls(), std::vector<std::string>{settings_.links.accountUpgrade + user_});
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(UserFile(contract::kQuotaExceededFile)); }, 5s));
}

TEST_F(TrayMenuTest, ContinuousBackupIsSwitchedOnAfterTheQuestionAndTheClientsAccountCheck) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ScriptClientAnswers("402\r\n");
    Choose(TrayMenuItem::mnuCDP);
    HWND box = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (box = VisibleWindowOf(monitor_.id, L"Continuous data protection (CDP)")); }, 10s))
        << "no question";
    ::PostMessageW(box, WM_COMMAND, IDC_Continue, 0);  // "Proceed"
    ASSERT_TRUE(WaitUntil([&] { return StandInEvents().find("PostCDPStatusMsg 1") != std::string::npos; }, 20s))
        << StandInEvents();
    EXPECT_NE(StandInEvents().find("client: run"), std::string::npos);
    EXPECT_NE(StandInEvents().find("< > 23"), std::string::npos);
    EXPECT_EQ(ReadIni(app_ / PathFromUtf8(contract::kUserNameFile), "Orvessa", "RealTimeBackup"), L"1");
}

// The logout clean-up ends the client whose id the engine left, and only an engine client: an id
// that now names another program leaves that program running.
TEST_F(TrayMenuTest, CloseInteractiveWindowEndsTheClientButNeverAnUnrelatedProcess) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const Child client = ovp::e2e::Start(app_ / PathFromUtf8(names_.client), app_, L"stay");
    const Child unrelated = ovp::e2e::Start(app_ / PathFromUtf8(names_.background), app_);
    ASSERT_TRUE(client.Running() && unrelated.Running());
    WriteIni(Profile(), "BackupStatus", "Status", "1");
    WriteIni(Profile(), "Orvessa", Obscure("ClientPIDR"), Obscure(std::to_string(client.id)));
    WriteIni(Profile(), "Orvessa", Obscure("ClientPID"), Obscure(std::to_string(unrelated.id)));
    ASSERT_TRUE(ReplaceFileBytes(UserFile(contract::kContextMenuRunFile), ""));

    ::PostMessageW(window_, ::RegisterWindowMessageW(L"CloseInteractiveWindow"), 0, 0);
    EXPECT_TRUE(client.Exit(15s).has_value()) << "the client kept running";
    EXPECT_TRUE(unrelated.Running());
    EXPECT_TRUE(WaitUntil([&] { return ReadIni(Profile(), "BackupStatus", "Status") == L"0"; }, 5s));
}

// The shipped language file, laid out in the language folder as the installer does, reaches the
// real program's message box (the menu's captions: the window tests).
TEST_F(TrayMenuTest, InSpanishTheQuestionsSpeakSpanish) {
    ASSERT_NO_FATAL_FAILURE(Start(L"Spanish"));
    Choose(TrayMenuItem::mnuCDP);
    HWND box = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (box = VisibleWindowOf(monitor_.id, L"Protección continua de datos (CDP)")); }, 10s))
        << "no question with a Spanish title";
    EXPECT_EQ(WindowText(box, IDC_Continue), L"Continuar");
    EXPECT_EQ(WindowText(box, IDC_IDCancel), L"Cancelar");
    ::PostMessageW(box, WM_COMMAND, IDC_IDCancel, 0);
}

}  // namespace
}  // namespace ovp::e2e
