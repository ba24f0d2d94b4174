#include "win32/tray_icon_win.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "win32/error_text_win.h"

namespace ovp::win {
namespace {

// A shell that refuses the commands it is told to, as a busy one does: with a time-out.
struct FakeShell {
    std::vector<DWORD> refused;
    std::vector<DWORD> calls;
    HICON icon = nullptr;  // the last picture it was given

    BOOL Notify(DWORD command, NOTIFYICONDATAW* data) {
        calls.push_back(command);
        if (std::ranges::find(refused, command) != refused.end()) {
            ::SetLastError(ERROR_TIMEOUT);
            return FALSE;
        }
        if ((data->uFlags & NIF_ICON) != 0) {
            icon = data->hIcon;
        }
        return TRUE;
    }
};

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) {
        return 0;
    }
    BITMAP bitmap{};
    ::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

class TrayIconShellTest : public ::testing::Test {
  protected:
    FakeShell shell_;
    test::FakeTraceSink trace_;
    Win32TrayIcon tray_{nullptr, &trace_,
                        [this](DWORD command, NOTIFYICONDATAW* data) { return shell_.Notify(command, data); }};
    const std::filesystem::path images_ = std::filesystem::path(OVP_ASSET_IMAGES).make_preferred();
};

TEST_F(TrayIconShellTest, AnAddThatTimedOutButReachedTheShellIsFoundByTheRetry) {
    shell_.refused = {NIM_ADD};
    EXPECT_FALSE(tray_.Add(images_ / "ovlog.ico", ""));
    EXPECT_FALSE(tray_.IsAdded());
    // The icon is there now, so the shell refuses to add it again; a modify finds it.
    EXPECT_TRUE(tray_.Add(images_ / "ovlog.ico", ""));
    EXPECT_TRUE(tray_.IsAdded());
    EXPECT_EQ(shell_.calls, (std::vector<DWORD>{NIM_ADD, NIM_ADD, NIM_MODIFY}));

    // Traced where it failed, once for the run of equal failures.
    ASSERT_EQ(trace_.lines.size(), 1u);
    EXPECT_NE(trace_.lines[0].find("Shell_NotifyIconW NIM_ADD failed, error 1460"), std::string::npos);
    EXPECT_NE(trace_.lines[0].find(SystemErrorText(ERROR_TIMEOUT)), std::string::npos);
}

TEST_F(TrayIconShellTest, AChangeTheShellRefusedIsAskedForAgainUntilItHolds) {
    ASSERT_TRUE(tray_.Add(images_ / "ovlog.ico", "idle"));
    const std::function<bool()> changes[] = {
        [this] { return tray_.SetIcon(images_ / "ovlogred.ico"); },
        [this] { return tray_.SetTip("failed"); },
    };
    for (const auto& change : changes) {
        shell_.refused = {NIM_MODIFY};
        shell_.calls.clear();
        EXPECT_FALSE(change());
        EXPECT_FALSE(change());
        shell_.refused.clear();
        EXPECT_TRUE(change());
        EXPECT_TRUE(change());  // the shell holds it now: no call
        EXPECT_EQ(shell_.calls, (std::vector<DWORD>{NIM_MODIFY, NIM_MODIFY, NIM_MODIFY}));
    }
    EXPECT_EQ(trace_.lines.size(), 2u);
}

TEST_F(TrayIconShellTest, ADpiChangeGivesTheShellThePictureMadeForItsSize) {
    ASSERT_TRUE(tray_.Add(images_ / "ovlog.ico", ""));
    tray_.OnDpiChanged(144);
    // 150 %: small icons are 24 pixels, an image the .ico holds.
    EXPECT_EQ(IconWidth(shell_.icon), 24);
    EXPECT_EQ(tray_.Icon(), shell_.icon);
}

}  // namespace
}  // namespace ovp::win
