// Talking to the service as the user does, against the loopback HTTPS servers of tests/https: a
// report typed into the report window arrives with its fields. (That a certificate which does not
// hold gets no request is the HTTP adapter's window test; what the program tells the user then,
// and how the version check and the account pages decide, the unit tests'.) Without the servers (a
// run outside tests/https/with-loopback-server) this scenario skips.

#include "../https/loopback_https_win.h"
#include "monitor_fixture.h"
#include "win32/dialog_ids.h"
#include "win32/report_dialog_ids.h"

namespace ovp::e2e {
namespace {

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

    std::unique_ptr<test::TrustedTestAuthority> authority_;
};

TEST_F(ServiceTest, AReportTypedIntoTheWindowArrivesWithItsFields) {
    LayOut();
    ProductSettings settings = settings_;
    settings.endpoints.notificationHost = "localhost";  // the name the certificate holds
    ASSERT_TRUE(standin::WriteConfiguration(app_, settings));
    const Child monitor = StartMonitor();
    const HWND main = WaitForMainWindow(monitor);
    ASSERT_NE(main, nullptr);
    const std::size_t before = test::RecordedRequests("trusted.log").size();

    ::PostMessageW(main, WM_COMMAND, CommandId(TrayMenuItem::MnuSendReport), 0);
    const HWND report = WaitForWindowOf(monitor, L"Send your feedback to the technical support team", 0, 15s);
    ASSERT_NE(report, nullptr) << "no report window";
    for (const auto& [id, text] : {std::pair{IDC_txtFrom, L" me@example.com "},
                                   {IDC_txtContactNumber, L"(030) 12-34 ext&x=1"},
                                   {IDC_txtTicketNumber, L"4711"},
                                   {IDC_txtMsg, L"Backups fail\r\nsince Monday \u00e9"}}) {
        ::SendMessageW(::GetDlgItem(report, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
    ::PostMessageW(report, WM_COMMAND, MAKEWPARAM(IDC_cmdSend, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(report, IDC_cmdSend)));
    const HWND box = WaitForWindowOf(monitor, win::Wide(settings_.caption), 0, 60s);
    ASSERT_NE(box, nullptr) << "no message";
    EXPECT_EQ(WindowText(box, IDC_lblMessage), L"The error report has been sent successfully.");
    ::PostMessageW(box, WM_COMMAND, IDC_Continue, 0);

    const auto requests = test::RecordedRequests("trusted.log");
    ASSERT_EQ(requests.size(), before + 1);
    const std::string& sent = requests.back();
    for (const std::string_view part : {
             "EMAIL=support%40example%2Ecom\\r\\n&SUBJECT=Orvessa%20Professional%20Ticket%20%3A%204711\\r\\n&CONTENT=",
             "User's e-mail address: me@example.com\\n",
             "User's Contact Phone Number:(030) 12-34 1\\n",
             "\\r\\nBackups%20fail\\nsince%20Monday%20%C3%A9\\r\\n&user_email=me%40example%2Ecom\"",
         }) {
        EXPECT_NE(sent.find(part), std::string::npos) << part << "\n" << sent;
    }
}

}  // namespace
}  // namespace ovp::e2e
