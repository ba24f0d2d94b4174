#include "win32/general_message_win.h"

#include <gtest/gtest.h>

#include <string>

#include "win32/dialog_ids.h"
#include "window_test_helpers.h"

namespace ovp::win {
namespace {

using test::BoxDriver;
using test::IsShown;
using test::ItemText;

MessageBoxRequest Request(std::string message, bool question) {
    MessageBoxRequest request;
    request.message = std::move(message);
    request.firstCaption = question ? "Yes" : "OK";
    request.secondCaption = question ? "No" : "Close";
    request.showFirst = question;
    request.iconKind = question ? "question" : "info";
    return request;
}

void Click(HWND box, int id) {
    ::PostMessageW(::GetDlgItem(box, id), BM_CLICK, 0, 0);
}

void Key(WPARAM vk) {
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, vk, 0);
    ::PostMessageW(::GetFocus(), WM_KEYUP, vk, 0);
}

TEST(GeneralMessageTest, OnlyTheVisibleFirstButtonAnswersTrue) {
    struct Case {
        const char* name;
        bool question;
        void (*act)(HWND box);
        bool answer;
        bool showSecond = true;
    };
    const Case cases[] = {
        {"notice Close", false, [](HWND box) { Click(box, IDC_IDCancel); }, false},
        {"notice, hidden OK pressed anyway", false,
         [](HWND box) {
             ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDC_Continue, BN_CLICKED), 0);
             Click(box, IDC_IDCancel);
         },
         false},
        {"notice Enter", false, [](HWND) { Key(VK_RETURN); }, false},
        {"notice asking for no button still offers the second", false, [](HWND box) { Click(box, IDC_IDCancel); },
         false, false},
        {"question Yes", true, [](HWND box) { Click(box, IDC_Continue); }, true},
        {"question Enter", true, [](HWND) { Key(VK_RETURN); }, true},
        {"question Esc", true, [](HWND) { Key(VK_ESCAPE); }, false},
        // Enter and Space answer for the button that has the focus.
        {"question Tab Enter", true,
         [](HWND) {
             Key(VK_TAB);
             Key(VK_RETURN);
         },
         false},
        {"question Tab Tab Space", true,
         [](HWND) {
             Key(VK_TAB);
             Key(VK_TAB);
             Key(VK_SPACE);
         },
         true},
    };
    for (const Case& c : cases) {
        bool firstShown = false;
        bool secondShown = false;
        bool ownerDisabled = false;
        HICON icon = nullptr;
        std::wstring second;
        BoxDriver driver([&](HWND box) {
            firstShown = IsShown(box, IDC_Continue);
            secondShown = IsShown(box, IDC_IDCancel);
            second = ItemText(box, IDC_IDCancel);
            icon = reinterpret_cast<HICON>(::SendDlgItemMessageW(box, IDC_imgMessageIcon, STM_GETICON, 0, 0));
            ownerDisabled = !::IsWindowEnabled(::GetWindow(box, GW_OWNER));
            c.act(box);
        });
        MessageBoxRequest request = Request("Do you want to stop the scheduled backup?", c.question);
        request.showSecond = c.showSecond;
        EXPECT_EQ(driver.Ask(request), c.answer) << c.name;
        EXPECT_FALSE(driver.TimedOut()) << c.name;
        // Modal to its owner until it closes.
        EXPECT_EQ(std::tuple(firstShown, secondShown, second, icon, ownerDisabled,
                             ::IsWindowEnabled(driver.Owner()) != FALSE),
                  std::tuple(c.question, true, c.question ? L"No" : L"Close",
                             ::LoadIconW(nullptr, c.question ? IDI_QUESTION : IDI_INFORMATION), true, true))
            << c.name;
    }
}

TEST(GeneralMessageTest, TitledBorderlessTopmostRoundedExceptTheLowerRightCorner) {
    LONG style = 0;
    LONG exStyle = 0;
    wchar_t title[64] = {};
    bool inside[5] = {};  // upper left, upper right, lower left, lower right, centre
    BoxDriver driver([&](HWND box) {
        ::GetWindowTextW(box, title, 64);
        style = ::GetWindowLongW(box, GWL_STYLE);
        exStyle = ::GetWindowLongW(box, GWL_EXSTYLE);
        RECT frame{};
        ::GetWindowRect(box, &frame);
        const int w = frame.right - frame.left;
        const int h = frame.bottom - frame.top;
        const HRGN region = ::CreateRectRgn(0, 0, 0, 0);
        if (::GetWindowRgn(box, region) != ERROR) {
            const POINT points[] = {{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}, {w / 2, h / 2}};
            for (int i = 0; i < 5; ++i) {
                inside[i] = ::PtInRegion(region, points[i].x, points[i].y);
            }
        }
        ::DeleteObject(region);
        Click(box, IDC_IDCancel);
    });
    MessageBoxRequest request = Request("Shape", false);
    request.title = "Continuous data protection (CDP)";
    driver.Ask(request);
    EXPECT_STREQ(title, L"Continuous data protection (CDP)");  // what screen readers and tests find it by
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME));
    EXPECT_FALSE(inside[0] || inside[1] || inside[2]);
    EXPECT_TRUE(inside[3] && inside[4]);
}

// How many lines show and when they scroll is the layout's (unit tests); here the box follows it.
TEST(GeneralMessageTest, TheBoxGrowsWithTheMessageAndKeepsItsButtonsOnTheScreen) {
    struct Seen {
        int height = 0;
        bool scrolls = false;
        bool buttonBelow = false;
        std::size_t length = 0;
    };
    const auto show = [](const std::string& message) {
        Seen seen;
        BoxDriver driver([&](HWND box) {
            RECT frame{};
            RECT shown{};
            RECT button{};
            ::GetWindowRect(box, &frame);
            seen.height = frame.bottom - frame.top;
            seen.scrolls = IsShown(box, IDC_txtMessage) && !IsShown(box, IDC_lblMessage);
            const int id = seen.scrolls ? IDC_txtMessage : IDC_lblMessage;
            ::GetWindowRect(::GetDlgItem(box, id), &shown);
            ::GetWindowRect(::GetDlgItem(box, IDC_IDCancel), &button);
            seen.buttonBelow = button.top >= shown.bottom;
            seen.length = ItemText(box, id).size();
            Click(box, IDC_IDCancel);
        });
        driver.Ask(Request(message, false));
        return seen;
    };
    std::string forty;
    for (int i = 0; i < 40; ++i) {
        forty += "The scheduled backup has not taken place for the past 8 day(s).\r\n";
    }
    const Seen one = show("The scheduled backup has not taken place for the past 8 day(s).");
    const Seen many = show(forty);
    EXPECT_LT(one.height, many.height);
    EXPECT_LE(many.height, ::GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(one.buttonBelow && many.buttonBelow);
    EXPECT_FALSE(one.scrolls);
    // Forty lines do not fit: they scroll, every character kept.
    EXPECT_TRUE(many.scrolls);
    EXPECT_EQ(many.length, forty.size());
}

TEST(GeneralMessageTest, CaptionsSitInReadOnlyBoxesWithoutACaretOnPicturesThatChangeUnderTheMouse) {
    const std::filesystem::path images = OVP_ASSET_IMAGES;
    struct Seen {
        std::wstring caption;
        bool readOnly = false;
        HWND focusAfterClickIntoBox = nullptr;
        HWND caret = nullptr;
        COLORREF rest[2] = {};
        COLORREF hover[2] = {};
        COLORREF left[2] = {};
    } seen;
    HWND button = nullptr;
    BoxDriver driver([&](HWND box) {
        button = ::GetDlgItem(box, IDC_IDCancel);
        const HWND caption = ::GetWindow(button, GW_CHILD);
        wchar_t text[32] = {};
        ::GetWindowTextW(caption, text, 32);
        seen.caption = text;
        seen.readOnly = (::GetWindowLongW(caption, GWL_STYLE) & ES_READONLY) != 0;
        ::SetFocus(caption);
        seen.focusAfterClickIntoBox = ::GetFocus();
        GUITHREADINFO thread{};
        thread.cbSize = sizeof(thread);
        ::GetGUIThreadInfo(::GetCurrentThreadId(), &thread);
        seen.caret = thread.hwndCaret;

        RECT rect{};
        RECT boxRect{};
        ::GetWindowRect(button, &rect);
        ::GetWindowRect(caption, &boxRect);
        // The picture beside the caption box, and the box's own background.
        const auto look = [&](COLORREF* colours) {
            colours[0] = test::PixelAt(button, 3, (rect.bottom - rect.top) / 2);
            colours[1] = test::PixelAt(caption, 1, 1);
        };
        look(seen.rest);
        ::SetCursorPos((boxRect.left + boxRect.right) / 2, (boxRect.top + boxRect.bottom) / 2);
        test::Pump(200);
        look(seen.hover);
        ::SetCursorPos(rect.left - 40, rect.top - 40);
        test::Pump(800);
        look(seen.left);
        Click(box, IDC_IDCancel);
    });
    driver.imagesFolder = images;
    MessageBoxRequest request = Request("Do you want to stop the scheduled backup?", true);
    request.secondCaption = "Save & Close";
    EXPECT_FALSE(driver.Ask(request));
    EXPECT_EQ(std::tuple(seen.caption, seen.readOnly, seen.focusAfterClickIntoBox, seen.caret),
              std::tuple(L"Save & Close", true, button, HWND{}));
    for (const int i : {0, 1}) {
        EXPECT_EQ(seen.rest[i], test::PictureColour(images, "Small Btn1")) << i;
        EXPECT_EQ(seen.hover[i], test::PictureColour(images, "Small Btn2")) << i;
        EXPECT_EQ(seen.left[i], test::PictureColour(images, "Small Btn1")) << i;
    }
}

TEST(GeneralMessageTest, AThousandBoxesLeaveNothingBehind) {
    BoxDriver driver([](HWND box) { Click(box, IDC_Continue); });
    driver.imagesFolder = OVP_ASSET_IMAGES;
    const MessageBoxRequest request = Request("Do you want to upgrade to the latest version?", true);
    test::ExpectNoGrowth("message box", [&] { ASSERT_TRUE(driver.Ask(request)); });
}

}  // namespace
}  // namespace ovp::win
