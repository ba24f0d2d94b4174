// The activity log viewer as the user meets it: opened from the tray menu on a session folder the
// engine simulator filled with logs, read back from the window (rows, page label), paged forward,
// and two ticked rows deleted. How each row is worded is the unit tests' and which column shows
// it the window tests'; here the real window, list view and files act.

#include "monitor_fixture.h"

#include "win32/session_log_dialog_ids.h"

namespace ovp::e2e {
namespace {

class SessionLogTest : public MonitorTest {};

TEST_F(SessionLogTest, OpenedFromTheTrayItPagesAndDeletesTheTickedLogs) {
    LayOut();
    ASSERT_EQ(Start(app_ / PathFromUtf8(standin::kSimulatorProgram), app_, L"logs 60").Exit(60s),
              std::optional<DWORD>(0));
    const std::filesystem::path session = folders_.UserFolder(user_) / PathFromUtf8(contract::kSessionFolder);
    Child monitor = StartMonitor();
    const HWND main = WaitForMainWindow(monitor);
    ASSERT_NE(main, nullptr);

    ::PostMessageW(main, WM_COMMAND, CommandId(TrayMenuItem::MnuViewLog), 0);
    const HWND viewer = WaitForWindowOf(monitor, L"Session Log", 0, 20s);
    ASSERT_NE(viewer, nullptr) << "the log viewer did not open";
    const auto label = [&] { return WindowText(viewer, IDC_lblPage); };
    RemoteListView list(::GetDlgItem(viewer, IDC_LstSessionLogView), monitor.id);
    EXPECT_EQ(label(), L"1 - 50 of 60");
    ASSERT_EQ(list.Count(), 50);

    ::SendDlgItemMessageW(viewer, IDC_NextImg, BM_CLICK, 0, 0);
    EXPECT_EQ(label(), L"51 - 60 of 60");
    ASSERT_EQ(list.Count(), 10);

    const std::wstring first = list.Cell(0, 3);
    const std::wstring third = list.Cell(2, 3);
    ASSERT_TRUE(std::filesystem::exists(session / first) && std::filesystem::exists(session / third));
    list.Tick(0);
    list.Tick(2);
    ::SendDlgItemMessageW(viewer, IDC_cmdDelete, BM_CLICK, 0, 0);
    EXPECT_FALSE(std::filesystem::exists(session / first));
    EXPECT_FALSE(std::filesystem::exists(session / third));
    EXPECT_EQ(label(), L"51 - 58 of 58");
    EXPECT_EQ(list.Count(), 8);
}

}  // namespace
}  // namespace ovp::e2e
