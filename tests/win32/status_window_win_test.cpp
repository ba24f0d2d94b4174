#include "win32/status_window_win.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "support/fake_processes.h"
#include "support/fakes.h"
#include "win32/clock_win.h"
#include "win32/dialog_ids.h"
#include "window_test_helpers.h"

namespace ovp::win {
namespace {

using test::IsShown;
using test::ItemText;
using test::PictureColour;

// Each text field and the control it lands in (the presenter decides the texts, not where they go).
constexpr std::pair<std::string StatusViewState::*, int> kTextControls[] = {
    {&StatusViewState::statusMessage, IDC_lblHoursInfo},    {&StatusViewState::nextBackup, IDC_lblBkupInfo},
    {&StatusViewState::userName, IDC_lblUserName},          {&StatusViewState::quotaText, IDC_lblQuotaInfo},
    {&StatusViewState::spaceUsedCaption, IDC_lblSpaceUsed}, {&StatusViewState::checkboxCaption, IDC_chkDesNotify1},
    {&StatusViewState::viewLogCaption, IDC_Cmd_Yes},        {&StatusViewState::closeCaption, IDC_Cmd_No},
    {&StatusViewState::upgradeTip, IDC_imgUpgrade},
};

// Records what the window reports and, like the presenter, renders on load and closes on "Close".
class RecordingEvents : public IStatusEvents {
  public:
    explicit RecordingEvents(StatusWindowView& view) : view_(view) {
        state.title = "Grp Backup - Scheduled Backup Status";
        for (const auto& [field, id] : kTextControls) {
            state.*field = "text " + std::to_string(id);
        }
        state.quotaVisible = true;
        state.quotaPercent = 75;
        state.quotaColour = RGB(67, 169, 33);
        state.notifyChecked = true;
    }
    void Form_Load() override {
        calls.push_back("Form_Load");
        view_.Render(state);
    }
    void frmStatusTimer_Timer() override { calls.push_back("timer"); }
    void Cmd_Yes_Click() override { calls.push_back("Cmd_Yes"); }
    void Cmd_No_Click() override {
        calls.push_back("Cmd_No");
        view_.Close();
    }
    void imgViewLog_Click() override { calls.push_back("imgViewLog"); }
    void imgUpgrade_Click() override { calls.push_back("imgUpgrade"); }
    void chkDesNotify1_Click(bool checked) override { calls.push_back(checked ? "checked" : "unchecked"); }

    int Count(const std::string& call) const { return static_cast<int>(std::count(calls.begin(), calls.end(), call)); }

    StatusViewState state;
    std::vector<std::string> calls;

  private:
    StatusWindowView& view_;
};

class StatusWindowTest : public ::testing::Test {
  protected:
    void TearDown() override { view_.Close(); }

    HWND Item(int id) const { return ::GetDlgItem(view_.Window(), id); }
    LRESULT Bar(UINT message, WPARAM wParam = 0) const {
        return ::SendMessageW(Item(IDC_QuotaProgressbar), message, wParam, 0);
    }

    ovp::test::FakeLocaleText texts_;
    StatusWindowView view_{texts_, "Grp Backup"};
    RecordingEvents events_{view_};
};

TEST_F(StatusWindowTest, LoadingAndLaterRendersReachTheControls) {
    texts_.texts[5100] = "Salir de esta pantalla";
    ASSERT_TRUE(view_.Show(events_, nullptr));
    const HWND window = view_.Window();
    EXPECT_EQ(events_.calls, std::vector<std::string>{"Form_Load"});
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_TRUE(::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    wchar_t title[256] = {};
    ::GetWindowTextW(window, title, 256);
    EXPECT_STREQ(title, L"Grp Backup - Scheduled Backup Status");
    for (const auto& [field, id] : kTextControls) {
        EXPECT_EQ(ItemText(window, id), L"text " + std::to_wstring(id));
    }
    EXPECT_EQ(::IsDlgButtonChecked(window, IDC_chkDesNotify1), BST_CHECKED);
    EXPECT_TRUE(IsShown(window, IDC_QuotaProgressbar) && IsShown(window, IDC_lblQuotaInfo));
    EXPECT_FALSE(IsShown(window, IDC_imgUpgrade));
    EXPECT_EQ(Bar(PBM_GETPOS), 75);
    EXPECT_EQ(static_cast<COLORREF>(Bar(PBM_GETBARCOLOR)), RGB(67, 169, 33));

    // The status line is larger than the rest.
    LOGFONTW fonts[2]{};
    for (const int i : {0, 1}) {
        const auto font = ::SendMessageW(Item(i == 0 ? IDC_lblHoursInfo : IDC_lblBkupInfo), WM_GETFONT, 0, 0);
        ::GetObjectW(reinterpret_cast<HFONT>(font), sizeof(LOGFONTW), &fonts[i]);
    }
    EXPECT_GT(std::abs(fonts[0].lfHeight), std::abs(fonts[1].lfHeight));

    // The buttons and the upgrade picture have the table's tips in the user's language, shown for
    // as long as possible.
    const clsToolTip* tip = view_.ToolTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->ToolTipCount(), 3);
    EXPECT_EQ(tip->ToolTipText(Item(IDC_Cmd_No)), "Salir de esta pantalla");
    EXPECT_EQ(tip->DelayTime(TTDT_AUTOPOP), 32767);  // not 1000000 wrapped into 16 bits

    // A later render changes visibilities and the bar, and leaves an undecided checkbox alone.
    StatusViewState exceeded = events_.state;
    exceeded.quotaPercent = 150;
    exceeded.quotaColour = RGB(239, 40, 37);
    exceeded.upgradeVisible = true;
    exceeded.notifyChecked.reset();
    view_.Render(exceeded);
    EXPECT_EQ(Bar(PBM_GETPOS), 100);
    EXPECT_EQ(static_cast<COLORREF>(Bar(PBM_GETBARCOLOR)), RGB(239, 40, 37));
    EXPECT_TRUE(IsShown(window, IDC_imgUpgrade));
    EXPECT_EQ(::IsDlgButtonChecked(window, IDC_chkDesNotify1), BST_CHECKED);

    StatusViewState loggedOut;
    loggedOut.notifyChecked = false;
    view_.Render(loggedOut);
    for (const int id : {IDC_QuotaProgressbar, IDC_lblQuotaInfo, IDC_lblSpaceUsed, IDC_imgUpgrade}) {
        EXPECT_FALSE(IsShown(window, id)) << id;
    }
    EXPECT_EQ(ItemText(window, IDC_lblUserName), L"");
    EXPECT_EQ(::IsDlgButtonChecked(window, IDC_chkDesNotify1), BST_UNCHECKED);
}

TEST_F(StatusWindowTest, ClicksReachTheEventsAndCloseDestroysTheWindow) {
    ASSERT_TRUE(view_.Show(events_, nullptr));
    const HWND window = view_.Window();
    events_.calls.clear();
    ::ShowWindow(Item(IDC_imgUpgrade), SW_SHOW);
    for (const int id :
         {IDC_Cmd_Yes, IDC_chkDesNotify1, IDC_chkDesNotify1, IDC_imgViewLog, IDC_imgUpgrade, IDC_Cmd_No}) {
        ::SendMessageW(Item(id), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        ::SendMessageW(Item(id), WM_LBUTTONUP, 0, 0);
    }
    EXPECT_EQ(events_.calls,
              (std::vector<std::string>{"Cmd_Yes", "unchecked", "checked", "imgViewLog", "imgUpgrade", "Cmd_No"}));
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_FALSE(view_.IsLoaded());
    EXPECT_EQ(view_.ToolTip(), nullptr);
}

TEST_F(StatusWindowTest, ShowingTwiceKeepsOneWindowWhereItIsAndRefreshesIt) {
    ASSERT_TRUE(view_.Show(events_, nullptr));
    const HWND first = view_.Window();
    ::SetWindowPos(first, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_TRUE(view_.Show(events_, nullptr));
    EXPECT_EQ(view_.Window(), first);
    EXPECT_EQ(events_.calls, (std::vector<std::string>{"Form_Load", "timer"}));
    EXPECT_TRUE(::GetWindowLongW(first, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT frame{};
    ::GetWindowRect(first, &frame);
    EXPECT_EQ(std::pair(frame.left, frame.top), std::pair(40L, 30L));

    // Closed by the user: a later Show loads it afresh.
    ::SendMessageW(first, WM_CLOSE, 0, 0);
    EXPECT_FALSE(view_.IsLoaded());
    ASSERT_TRUE(view_.Show(events_, nullptr));
    EXPECT_EQ(events_.Count("Form_Load"), 2);
}

TEST_F(StatusWindowTest, TheRefreshTimerRunsWhileTheWindowIsOpenAndTheWindowGoesWithItsOwner) {
    const HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                         ::GetModuleHandleW(nullptr), nullptr);
    view_.SetRefreshInterval(20);
    ASSERT_TRUE(view_.Show(events_, owner));
    EXPECT_EQ(::GetWindow(view_.Window(), GW_OWNER), owner);
    test::Pump(300);
    const int ticks = events_.Count("timer");
    EXPECT_GE(ticks, 2);
    ::DestroyWindow(owner);
    EXPECT_FALSE(view_.IsLoaded());
    test::Pump(200);
    EXPECT_EQ(events_.Count("timer"), ticks);
    view_.Render(events_.state);  // nothing to draw into, and no crash
}

TEST_F(StatusWindowTest, KeysReachTheWindowWhileAWaitRunsItsMessages) {
    ASSERT_TRUE(view_.Show(events_, nullptr));
    ::SetFocus(Item(IDC_Cmd_Yes));
    // As the keyboard sends them: to the control with the focus, through the queue.
    const auto key = [](UINT virtualKey) {
        ::PostMessageW(::GetFocus(), WM_KEYDOWN, virtualKey, 0);
        Win32Clock().WaitPumping(50);
    };
    key(VK_TAB);
    EXPECT_EQ(::GetFocus(), Item(IDC_Cmd_No));
    key(VK_ESCAPE);
    EXPECT_FALSE(view_.IsLoaded());
}

// The colour a control shows a little inside its left edge, halfway down (clear of its caption).
COLORREF ShownColour(HWND control) {
    RECT client{};
    ::GetClientRect(control, &client);
    return test::PixelAt(control, 4, client.bottom / 2);
}

TEST_F(StatusWindowTest, PicturesChangeUnderTheMouseAndTheHandComesFromTheImagesFolder) {
    const std::filesystem::path images = OVP_ASSET_IMAGES;
    view_.SetPictures(images, {images / "ovlog.ico", images / "TopRightLogo.bmp"});
    events_.state.upgradeVisible = true;
    ASSERT_TRUE(view_.Show(events_, nullptr));
    const HWND window = view_.Window();
    EXPECT_NE(::SendMessageW(window, WM_GETICON, ICON_SMALL, 0), 0);
    EXPECT_TRUE(IsShown(window, IDC_imgTopRightLogo));
    // The clickable pictures carry their words, as the buttons do.
    EXPECT_EQ(ItemText(window, IDC_imgViewLog), L"text 307");
    EXPECT_EQ(ItemText(window, IDC_imgUpgrade), L"text 310");

    // The pointer really moves: the control sees it arrive and, when it has gone, leave.
    const auto pointAt = [](HWND control) {
        RECT rect{};
        ::GetWindowRect(control, &rect);
        ::SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        test::Pump(200);
    };
    const std::pair<int, HoverPictures> pictures[] = {
        {IDC_Cmd_Yes, kSmallButtonPictures}, {IDC_Cmd_No, kSmallButtonPictures}, {IDC_imgUpgrade, kUpgradePictures}};
    for (const auto& [id, keys] : pictures) {
        EXPECT_EQ(view_.PictureKeyShown(id), keys.normal) << id;
        EXPECT_EQ(ShownColour(Item(id)), PictureColour(images, keys.normal)) << id;
        pointAt(Item(id));
        EXPECT_EQ(view_.PictureKeyShown(id), keys.hover) << id;
        EXPECT_EQ(ShownColour(Item(id)), PictureColour(images, keys.hover)) << id;
        EXPECT_EQ(::GetCursor(), view_.HandPointer()) << id;
        pointAt(Item(IDC_lblUserName));
        test::Pump(600);
        EXPECT_EQ(view_.PictureKeyShown(id), keys.normal) << id;
        EXPECT_EQ(ShownColour(Item(id)), PictureColour(images, keys.normal)) << id;
    }
    // The hand of the images folder clicks with its fingertip (Hand.ico's topmost opaque pixels).
    ICONINFO hand{};
    ASSERT_TRUE(::GetIconInfo(view_.HandPointer(), &hand));
    ::DeleteObject(hand.hbmMask);
    ::DeleteObject(hand.hbmColor);
    EXPECT_FALSE(hand.fIcon);
    EXPECT_EQ(std::pair(hand.xHotspot, hand.yHotspot), std::pair(13UL, 4UL));
    // Without Hand.ico the system's hand shows.
    view_.Close();
    view_.SetPictures(images / "missing", {});
    ASSERT_TRUE(view_.Show(events_, nullptr));
    EXPECT_EQ(view_.HandPointer(), ::LoadCursorW(nullptr, IDC_HAND));
    EXPECT_FALSE(IsShown(view_.Window(), IDC_imgTopRightLogo));
}

TEST_F(StatusWindowTest, ALinkFollowedInATipOpensOnlyWebPages) {
    ovp::test::FakeShell shell;
    ovp::test::FakeTraceSink trace;
    view_.SetLinkPorts(shell, trace);
    ASSERT_TRUE(view_.Show(events_, nullptr));
    clsToolTip* tip = view_.ToolTip();
    ASSERT_NE(tip, nullptr);
    for (const char* link : {"https://www.example.com/upgrade", "file:///C:/Windows/notepad.exe"}) {
        tip->SetToolTipText(Item(IDC_imgUpgrade), std::string("Quota used: <a href=\"") + link + "\">upgrade</a>");
        // As the tooltip control reports a followed link to the window that owns the tools.
        NMHDR header{tip->ToolTipHandle(), reinterpret_cast<UINT_PTR>(Item(IDC_imgUpgrade)), TTN_LINKCLICK};
        ::SendMessageW(view_.Window(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    }
    ASSERT_EQ(shell.requests.size(), 1u);
    EXPECT_EQ(shell.requests[0].file, std::filesystem::path("https://www.example.com/upgrade"));
}

TEST_F(StatusWindowTest, AThousandOpeningsAndClosingsLeaveNothingBehind) {
    const std::filesystem::path images = OVP_ASSET_IMAGES;
    view_.SetPictures(images, {images / "ovlog.ico", images / "TopRightLogo.bmp"});
    events_.state.upgradeVisible = true;
    test::ExpectNoGrowth("status window", [&] {
        ASSERT_TRUE(view_.Show(events_, nullptr));
        ::SendMessageW(Item(IDC_Cmd_No), BM_CLICK, 0, 0);
        ASSERT_FALSE(view_.IsLoaded());
        events_.calls.clear();
    });
}

}  // namespace
}  // namespace ovp::win
