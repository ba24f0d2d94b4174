#include "win32/tooltip_win.h"

#include <gtest/gtest.h>

#include "win32/unique_resource.h"

namespace ovp::win {
namespace {

unique_hwnd Window(const wchar_t* type, DWORD style, HWND parent) {
    return unique_hwnd(
        ::CreateWindowExW(0, type, L"", style, 0, 0, 50, 20, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr));
}

TEST(ToolTipWinTest, ToolsAreAddedReplacedAndRemovedPerControl) {
    const unique_hwnd form = Window(L"STATIC", WS_POPUP, nullptr);
    const unique_hwnd first = Window(L"BUTTON", WS_CHILD, form.get());
    const unique_hwnd second = Window(L"BUTTON", WS_CHILD, form.get());
    clsToolTip tip;
    tip.SetBalloon(true);
    ASSERT_TRUE(tip.Create(form.get()));
    EXPECT_TRUE(::GetWindowLongW(tip.ToolTipHandle(), GWL_STYLE) & TTS_BALLOON);
    EXPECT_TRUE(::GetWindowLongW(tip.ToolTipHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    EXPECT_TRUE(tip.AddTool(first.get(), "Exit this screen"));
    EXPECT_TRUE(tip.AddTool(second.get(), "Go to the next page"));
    EXPECT_TRUE(tip.AddTool(first.get(), "Access the Help Guide"));
    EXPECT_EQ(tip.ToolTipCount(), 2);
    EXPECT_EQ(tip.ToolTipText(first.get()), "Access the Help Guide");
    // A text longer than the control keeps is cut, never read back past the buffer.
    tip.SetToolTipText(second.get(), std::string(5000, 'x'));
    EXPECT_LE(tip.ToolTipText(second.get()).size(), 1023u);
    tip.RemoveToolTip(first.get());
    EXPECT_EQ(tip.ToolTipCount(), 1);

    const HWND window = tip.ToolTipHandle();
    tip.Destroy();
    EXPECT_FALSE(::IsWindow(window));
}

}  // namespace
}  // namespace ovp::win
