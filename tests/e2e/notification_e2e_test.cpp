// The warnings the user meets without asking: the failure notification after a week of missed
// scheduled backups, with its links, and the web-management alert at a start after the account
// was cancelled on the web site. Which sentence, values and alerts each case earns is the unit
// tests'; here the real program shows them on the real desktop.

#include <algorithm>

#include "monitor_fixture.h"
#include "settings/obscure.h"
#include "win32/notify_dialog_ids.h"

namespace ovp::e2e {
namespace {

// The watcher's first tick comes 20 seconds after the form has loaded.
constexpr auto kFirstCheck = 30s;

class NotificationTest : public MonitorTest {
  protected:
    // The user's folder as a first run has left it, so that the values written before the start
    // stay: a first run begins with a fresh profile.
    void PrepareUserFolder() const {
        std::filesystem::create_directories(folders_.UserFolder(user_));
        SetProfile("Orvessa", Obscure(contract::kFirstUser), Obscure(contract::kFirstUserTrue));
    }
    void SetProfile(std::string_view section, std::string_view key, std::string_view value) const {
        WriteIni(folders_.ProfileFile(user_), section, key, value);
    }

    std::vector<HWND> VisibleWindows() const {
        std::vector<HWND> windows = TopLevelWindowsOf(monitor_.id);
        std::erase_if(windows, [](HWND window) { return !::IsWindowVisible(window); });
        return windows;
    }

    Child monitor_;
};

bool InsideWorkArea(HWND window) {
    RECT work{};
    RECT frame{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::GetWindowRect(window, &frame);
    return frame.left >= work.left && frame.top >= work.top && frame.right <= work.right && frame.bottom <= work.bottom;
}

// A week without a completed scheduled backup: the first check warns, topmost in the work area.
// Each link closes the warning and opens its window; the warnings after the first come when the
// next check is made due again.
TEST_F(NotificationTest, AWeekOfMissedBackupsIsWarnedAboutAndEachLinkLeadsOn) {
    LayOut();
    PrepareUserFolder();
    SetProfile("BackupStatus", "BackupFailureDays", "7");
    monitor_ = StartMonitor();
    ASSERT_TRUE(WaitForStartup(monitor_));

    const std::pair<int, const char*> links[] = {{IDC_lblViewLogLink, "frmSessionLog"},
                                                 {IDC_lblSchedulerLink, "SchedulerFrm"},
                                                 {IDC_lblErrorReportLink, "frmErrorReport1"}};
    for (const auto& [link, form] : links) {
        SCOPED_TRACE(form);
        const HWND warning = WaitForWindowOf(monitor_, L"", IDC_LabelBackupFailure, kFirstCheck);
        ASSERT_NE(warning, nullptr) << "no warning within " << kFirstCheck.count() << " s";
        EXPECT_TRUE(::GetWindowLongW(warning, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_TRUE(InsideWorkArea(warning));

        const std::vector<HWND> before = VisibleWindows();
        ::PostMessageW(warning, WM_COMMAND, MAKEWPARAM(link, STN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(warning, link)));
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(warning); }, 10s)) << "the warning stayed open";
        EXPECT_TRUE(WaitUntil(
            [&] {
                const std::vector<HWND> now = VisibleWindows();
                return std::any_of(now.begin(), now.end(),
                                   [&](HWND w) { return std::find(before.begin(), before.end(), w) == before.end(); });
            },
            10s))
            << "no window of its own opened";

        // Another week missed, and the next check due now.
        SetProfile("BackupStatus", "BackupFailureDays", "7");
        for (const char* key : {"TrayIconDay", "TrayIconMonth", "TrayIconYear", "TrayIconHour", "TrayIconMinute"}) {
            WriteIni(app_ / PathFromUtf8(contract::kUserNameFile), "Orvessa", key, "");
        }
    }
}

// The component left "-2" (account cancelled): the start shows the alert naming the product (that
// it switches web management off and logs the user out is the unit tests').
TEST_F(NotificationTest, AStartAfterTheAccountWasCancelledShowsTheWebManagementAlert) {
    LayOut();
    PrepareUserFolder();
    SetProfile("Web", "WebPlugin", "1");
    SetProfile("OLWA", "ErrVal", "-2");
    SetConnectionStatus(1);
    monitor_ = StartMonitor();
    const HWND alert = WaitForWindowOf(monitor_, L"", IDC_lblWelcome, kStartupTimeout);
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(win::Narrow(WindowText(alert)), settings_.caption + " - Web Management");
    EXPECT_EQ(win::Narrow(WindowText(alert, IDC_lblWelcome)),
              "Web Manager is disabled as your " + settings_.productName + " account is canceled.");
    EXPECT_TRUE(::GetWindowLongW(alert, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(InsideWorkArea(alert));
}

}  // namespace
}  // namespace ovp::e2e
