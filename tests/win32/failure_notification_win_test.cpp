// The notification windows as Windows shows them: layered, rounded, one window each. (Topmost in
// the work area and the links' way on are shown end to end.)
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

class ClosingEvents : public IFailureNotificationEvents {
  public:
    explicit ClosingEvents(FailureNotificationView& view) : view_(view) {}
    void lblViewLogLink_Click() override {}
    void lblSchedulerLink_Click() override {}
    void lblErrorReportLink_Click() override {}
    void cancel_Click() override { view_.Close(); }

  private:
    FailureNotificationView& view_;
};

BYTE Opacity(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    return ::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) && (flags & LWA_ALPHA) ? alpha : 0;
}

bool RoundedCorner(HWND window) {
    const HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    const bool cut =
        ::GetWindowRgn(window, region) != ERROR && !::PtInRegion(region, 0, 0) && ::PtInRegion(region, 10, 10);
    ::DeleteObject(region);
    return cut;
}

void Click(HWND window, int id) {
    ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(window, id)));
}

// Slightly transparent and rounded; the links show the system's hand when the product's picture is
// missing; a second warning updates the one window; Close destroys it.
TEST(NotificationWindowsTest, TheWarningIsOneTranslucentRoundedWindow) {
    ovp::test::FakeLocaleText texts;
    FailureNotificationView view(texts, "Grp Online");
    ClosingEvents events(view);
    view.SetEvents(&events);
    FailureNotificationState state;
    state.sentence = "past 7 day(s).";
    state.handCursor = "Z:\\nowhere\\Hand.ico";
    state.formIcon = std::filesystem::path(OVP_ASSET_IMAGES) / "ovlog.ico";
    view.Show(state);
    const HWND window = view.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(::SendDlgItemMessageW(window, IDC_formicon, STM_GETICON, 0, 0), 0);
    EXPECT_EQ(Opacity(window), 200);
    EXPECT_TRUE(RoundedCorner(window));
    ::SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(::GetDlgItem(window, IDC_lblViewLogLink)),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));

    state.sentence = "past 8 day(s).";
    view.Show(state);
    EXPECT_EQ(view.Window(), window);
    EXPECT_EQ(ItemText(window, IDC_LabelBackupFailure), L"past 8 day(s).");
    Click(window, IDC_cancel);
    EXPECT_FALSE(::IsWindow(window));
}

// The alert fades in to opaque and its timer stops there; a second alert reuses the window; its
// exit button closes it with a trace line.
TEST(NotificationWindowsTest, TheWebManagementAlertFadesInToOpaqueAndStops) {
    ovp::test::FakeTraceSink trace;
    WelcomeView view(trace);
    view.SetFadeInterval(1);
    view.SetImagesFolder(OVP_ASSET_IMAGES);
    view.Show(WebAlert{"Grp Caption - Web Management", "first", "", "Close"});
    const HWND window = view.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_LT(Opacity(window), 255);
    for (const ULONGLONG deadline = ::GetTickCount64() + 5000; view.IsFading() && ::GetTickCount64() < deadline;) {
        test::Pump(10);
    }
    EXPECT_FALSE(view.IsFading());
    EXPECT_EQ(Opacity(window), 255);
    EXPECT_TRUE(RoundedCorner(window));
    const HWND exit = ::GetDlgItem(window, IDC_cmdWelcomeExit);
    EXPECT_EQ(view.ExitPictureShown(), "Small Btn1");
    EXPECT_EQ(test::PixelAt(exit, 4, 4), test::PictureColour(OVP_ASSET_IMAGES, "Small Btn1"));

    view.Show(WebAlert{"Grp Caption - Web Management", "second", "", "Cerrar"});
    EXPECT_EQ(view.Window(), window);
    EXPECT_EQ(ItemText(window, IDC_lblWelcome), L"second");
    EXPECT_EQ(ItemText(window, IDC_cmdWelcomeExit), L"Cerrar");
    Click(window, IDC_cmdWelcomeExit);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(trace.lines, std::vector<std::string>{"  [INFORMATION]  WebpluginAlert Screen is Closed"});
}

}  // namespace
}  // namespace ovp::win
