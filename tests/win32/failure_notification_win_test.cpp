// The notification windows as Windows shows them: layered, rounded, topmost in the work area, one
// window each, and each click reported to its own event.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fakes.h"
#include "win32/failure_notification_win.h"
#include "win32/notify_dialog_ids.h"
#include "win32/welcome_win.h"
#include "window_test_helpers.h"

namespace ovp::win {
namespace {

using test::ItemText;

class RecordingEvents : public IFailureNotificationEvents {
  public:
    explicit RecordingEvents(FailureNotificationView& view) : view_(view) {}
    void lblViewLogLink_Click() override { calls.push_back("logs"); }
    void lblSchedulerLink_Click() override { calls.push_back("schedule"); }
    void lblErrorReportLink_Click() override { calls.push_back("report"); }
    void cancel_Click() override {
        calls.push_back("close");
        view_.Close();
    }
    std::vector<std::string> calls;

  private:
    FailureNotificationView& view_;
};

FailureNotificationState State(std::string sentence) {
    FailureNotificationState state;
    state.title = "Grp Caption failure";
    state.sentence = std::move(sentence);
    state.viewLogLink = "view the logs?";
    state.reason = "Possibly, your computer is shut down.";
    state.schedulerLink = "click here.";
    state.support = "For further assistance, .";
    state.errorReportLink = "Send Error Report";
    state.closeCaption = "Close";
    state.handCursor = "Z:\\nowhere\\Hand.ico";
    return state;
}

BYTE Opacity(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    return ::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) && (flags & LWA_ALPHA) ? alpha : 0;
}

bool InsideWorkArea(HWND window) {
    RECT work{};
    RECT frame{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::GetWindowRect(window, &frame);
    return frame.left >= work.left && frame.top >= work.top && frame.right <= work.right && frame.bottom <= work.bottom;
}

bool RoundedCorner(HWND window) {
    const HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    const bool cut =
        ::GetWindowRgn(window, region) != ERROR && !::PtInRegion(region, 0, 0) && ::PtInRegion(region, 10, 10);
    ::DeleteObject(region);
    return cut;
}

TEST(FailureNotificationWinTest, OneLayeredRoundedTopmostWindowInTheWorkArea) {
    ovp::test::FakeLocaleText texts;
    FailureNotificationView view(texts, "Grp Online");
    RecordingEvents events(view);
    view.SetEvents(&events);
    view.Show(State("past 7 day(s)."));
    const HWND window = view.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_TRUE(::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(Opacity(window), 200);
    EXPECT_TRUE(InsideWorkArea(window));
    EXPECT_TRUE(RoundedCorner(window));
    wchar_t title[64] = {};
    ::GetWindowTextW(window, title, 64);
    EXPECT_STREQ(title, L"Grp Caption failure");
    EXPECT_EQ(ItemText(window, IDC_lblErrorReportLink), L"Send Error Report");

    // Without the picture the links show the system's hand.
    ::SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(::GetDlgItem(window, IDC_lblViewLogLink)),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));

    // A second warning updates the open window.
    view.Show(State("past 8 day(s)."));
    EXPECT_EQ(view.Window(), window);
    EXPECT_EQ(ItemText(window, IDC_LabelBackupFailure), L"past 8 day(s).");

    for (const int id : {IDC_lblViewLogLink, IDC_lblSchedulerLink, IDC_lblErrorReportLink, IDC_cancel}) {
        ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(window, id)));
    }
    EXPECT_EQ(events.calls, (std::vector<std::string>{"logs", "schedule", "report", "close"}));
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_FALSE(view.IsLoaded());
}

TEST(FailureNotificationWinTest, TheWebManagementAlertFadesInToOpaqueAndStops) {
    ovp::test::FakeTraceSink trace;
    WelcomeView view(trace);
    view.SetFadeInterval(1);
    view.Show(WebAlert{"Grp Caption - Web Management", "Web Manager is disabled as an error has occured", ""});
    const HWND window = view.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_LT(Opacity(window), 255);
    const ULONGLONG deadline = ::GetTickCount64() + 5000;
    while (view.IsFading() && ::GetTickCount64() < deadline) {
        test::Pump(10);
    }
    EXPECT_FALSE(view.IsFading());
    EXPECT_EQ(Opacity(window), 255);
    EXPECT_TRUE(::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(InsideWorkArea(window));
    EXPECT_TRUE(RoundedCorner(window));
    wchar_t title[64] = {};
    ::GetWindowTextW(window, title, 64);
    EXPECT_STREQ(title, L"Grp Caption - Web Management");

    view.Show(WebAlert{"Grp Caption - Web Management", "Web Manager is disabled as your Grp account is canceled.", ""});
    EXPECT_EQ(view.Window(), window);
    EXPECT_EQ(ItemText(window, IDC_lblWelcome), L"Web Manager is disabled as your Grp account is canceled.");

    ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_cmdWelcomeExit, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window, IDC_cmdWelcomeExit)));
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(trace.lines, std::vector<std::string>{"  [INFORMATION]  WebpluginAlert Screen is Closed"});
}

}  // namespace
}  // namespace ovp::win
