// Talking to the service as the user does, against the loopback HTTPS servers of tests/https: a
// report typed into the report window arrives with its fields; a server whose certificate does
// not hold gets no request at all and the user is told; the version check acts on the update
// page's answer; the upgrade and promotion pages reach the shell. Without the servers (a run
// outside tests/https/with-loopback-server) these scenarios skip.

#include <algorithm>

#include "../https/loopback_https_win.h"
#include "monitor_fixture.h"
#include "win32/dialog_ids.h"
#include "win32/report_dialog_ids.h"

namespace ovp::e2e {
namespace {

constexpr wchar_t kReportTitle[] = L"Send your feedback to the technical support team";

class ServiceTest : public MonitorTest {
  protected:
    void SetUp() override {
        if (test::LoopbackHttpsFolder().empty()) {
            GTEST_SKIP() << "runs with the loopback HTTPS servers (tests/https/with-loopback-server)";
        }
        MonitorTest::SetUp();
        authority_ = std::make_unique<test::TrustedTestAuthority>();
        ASSERT_TRUE(authority_->Trusted());
    }

    // notificationHost: the name the report is posted to ("localhost" matches the certificate).
    void Start(std::string_view notificationHost) {
        LayOut();
        ProductSettings settings = settings_;
        settings.endpoints.notificationHost = std::string(notificationHost);
        // The update page answers with what it is asked: the installed version is its answer.
        settings.links.update = "https://localhost:11900/echo?status=200&body=";
        ASSERT_TRUE(standin::WriteConfiguration(app_, settings));
        monitor_ = StartMonitor();
        ASSERT_TRUE(WaitForStartup(monitor_));
        window_ = WaitForMainWindow(monitor_);
        ASSERT_NE(window_, nullptr);
    }
    void Choose(TrayMenuItem item) { ::PostMessageW(window_, WM_COMMAND, CommandId(item), 0); }

    // The product's message box that is shown next: its message, after the box is closed with
    // the button of that id.
    std::wstring AnswerMessage(int button) {
        const HWND box = WaitForWindowOf(monitor_, win::Wide(settings_.caption), 0, 60s);
        EXPECT_NE(box, nullptr) << "no message";
        if (box == nullptr) {
            return {};
        }
        const std::wstring message = WindowText(box, IDC_lblMessage);
        ::PostMessageW(box, WM_COMMAND, button, 0);
        WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }, 10s);
        return message;
    }

    // Opens the report window from the tray menu and submits what the user typed.
    void SendReport(const wchar_t* from, const wchar_t* message) {
        Choose(TrayMenuItem::MnuSendReport);
        const HWND report = WaitForWindowOf(monitor_, kReportTitle, 0, 15s);
        ASSERT_NE(report, nullptr) << "no report window";
        ::SendMessageW(::GetDlgItem(report, IDC_txtFrom), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(from));
        ::SendMessageW(::GetDlgItem(report, IDC_txtContactNumber), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(L"(030) 12-34 ext&x=1"));
        ::SendMessageW(::GetDlgItem(report, IDC_txtTicketNumber), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"4711"));
        ::SendMessageW(::GetDlgItem(report, IDC_txtMsg), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(message));
        ::PostMessageW(report, WM_COMMAND, MAKEWPARAM(IDC_cmdSend, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(report, IDC_cmdSend)));
    }

    std::unique_ptr<test::TrustedTestAuthority> authority_;
    Child monitor_;
    HWND window_ = nullptr;
};

TEST_F(ServiceTest, AReportTypedIntoTheWindowArrivesWithItsFields) {
    ASSERT_NO_FATAL_FAILURE(Start("localhost"));
    const std::size_t before = test::RecordedRequests("trusted.log").size();
    ASSERT_NO_FATAL_FAILURE(SendReport(L" me@example.com ", L"Backups fail\r\nsince Monday \u00e9"));
    EXPECT_EQ(AnswerMessage(IDC_Continue), L"The error report has been sent successfully.");

    const auto requests = test::RecordedRequests("trusted.log");
    ASSERT_EQ(requests.size(), before + 1);
    const std::string& sent = requests.back();
    for (const std::string_view part : {
             "EMAIL=support%40example%2Ecom\\r\\n&SUBJECT=Orvessa%20Professional%20Ticket%20%3A%204711\\r\\n&CONTENT=",
             "User's e-mail address: me@example.com\\n",
             "User's Contact Phone Number:(030) 12-34 1\\n",
             "Username: alice\\n",
             "\\r\\nBackups%20fail\\nsince%20Monday%20%C3%A9\\r\\n&user_email=me%40example%2Ecom\"",
         }) {
        EXPECT_NE(sent.find(part), std::string::npos) << part << "\n" << sent;
    }
    EXPECT_EQ(sent.find("Log starts here"), std::string::npos);  // logs only when ticked
}

TEST_F(ServiceTest, AServerWhoseCertificateDoesNotHoldGetsNothingAndTheUserIsTold) {
    // The certificate names localhost, not the address.
    ASSERT_NO_FATAL_FAILURE(Start("127.0.0.1"));
    const std::size_t before = test::RecordedRequests("trusted.log").size();
    ASSERT_NO_FATAL_FAILURE(SendReport(L"me@example.com", L"hello"));
    EXPECT_EQ(AnswerMessage(IDC_Continue),
              L"Your email could not be sent. Fill up the feedback form at  https://www.example.com/feedback");
    EXPECT_EQ(test::RecordedRequests("trusted.log").size(), before);
}

TEST_F(ServiceTest, TheVersionCheckActsOnTheLetterYAndTheAccountPagesReachTheShell) {
    ASSERT_NO_FATAL_FAILURE(Start("localhost"));
    // Which answers offer the upgrade is the unit tests'; here the page's real answer is read.
    SetRegString(HKEY_CURRENT_USER, VendorKey() + L"\\Application", L"Version", L"Y");
    Choose(TrayMenuItem::mnuVersionUpdate);
    EXPECT_EQ(AnswerMessage(IDC_Continue), L"Do you want to upgrade to the latest version of Orvessa Professional?");
    ASSERT_TRUE(WaitUntil([&] { return !OpenedUrls().empty(); }, 15s));

    // Logged in, the quota item and the free-storage offer open the account's pages.
    const DWORD loggedIn = 1;
    ::RegSetKeyValueW(HKEY_CURRENT_USER, (VendorKey() + L"\\Connection Parameters").c_str(), L"Status", REG_DWORD,
                      &loggedIn, sizeof(loggedIn));
    Choose(TrayMenuItem::MnuQuotaExceeded);
    Choose(TrayMenuItem::GBAdditional);
    ASSERT_TRUE(WaitUntil([&] { return OpenedUrls().size() >= 3; }, 15s));
    // The shell starts the two pages' handlers side by side: they may record in either order.
    std::vector<std::string> opened = OpenedUrls();
    std::sort(opened.begin() + 1, opened.end());
    EXPECT_EQ(opened, (std::vector<std::string>{settings_.links.setup, settings_.links.accountUpgrade + user_,
                                                settings_.links.promote + user_}));
}

}  // namespace
}  // namespace ovp::e2e
