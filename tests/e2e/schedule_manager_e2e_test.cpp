// The schedule manager as the user meets it: opened from the tray menu, the jobs of two users read
// back from its list view, one job edited through the wizard's controls, one deleted and a running
// one stopped, each found in the files the engine reads. What each value earns is the unit tests';
// here the real windows, controls and message boxes act.

#include "monitor_fixture.h"
#include "scheduler/schedule_codes.h"
#include "scheduler/schedule_record.h"
#include "win32/dialog_ids.h"
#include "win32/schedule_dialog_ids.h"

namespace ovp::e2e {
namespace {

std::string RecordLine(std::string_view recordNo, std::string_view jobKind) {
    const std::string nextRun = "12-31-2030 22:00:00";
    return FormatScheduleLine(ScheduleRecord{std::string(recordNo), std::string(jobKind), nextRun,
                                             "03-01-2026 10:00:00", "31", "0", "", "0", "1", MakeSortKey(nextRun), "6",
                                             "0111110"}) +
           "\r\n";
}

class ScheduleManagerTest : public MonitorTest {
  protected:
    std::filesystem::path ScheduleOf(std::string_view user) const {
        return folders_.UserFolder(user) / PathFromUtf8(contract::kScheduleFile);
    }
    std::string Schedule(std::string_view user) const { return ReadFileBytes(ScheduleOf(user)).value_or("<none>"); }

    static void Click(HWND dialog, int id) { ::PostMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

    // The rows as "text/user" joined by "|".
    std::string Rows() const {
        const RemoteListView list(::GetDlgItem(manager_, IDC_Sch_list_lv), monitor_.id);
        std::string rows;
        for (int item = 0; item < list.Count(); ++item) {
            rows += win::Narrow(list.Cell(item, 0) + L"/" + list.Cell(item, 4) + L"/" + list.Cell(item, 3)) + "|";
        }
        return rows;
    }
    // Selects the row with the keyboard, as the user does.
    bool Select(int row) const {
        const HWND list = ::GetDlgItem(manager_, IDC_Sch_list_lv);
        ::PostMessageW(list, WM_KEYDOWN, VK_HOME, 0);
        for (int i = 0; i < row; ++i) {
            ::PostMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
        }
        return WaitUntil(
            [&] { return ::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) == row; }, 5s);
    }
    // Answers the monitor's question with its first button ("Yes").
    bool AnswerYes() const {
        const HWND box = WaitForWindowOf(monitor_, L"", IDC_Continue);
        return box != nullptr && ::PostMessageW(box, WM_COMMAND, IDC_Continue, 0);
    }

    Child monitor_;
    HWND manager_ = nullptr;
};

TEST_F(ScheduleManagerTest, ListsTwoUsersJobsAndEditsDeletesAndStopsThem) {
    LayOut();
    monitor_ = StartMonitor();
    const HWND main = WaitForMainWindow(monitor_);
    ASSERT_NE(main, nullptr);
    const std::string alices = "0\r\n" + RecordLine("1", contract::kJobKindBackupSet);
    ASSERT_TRUE(ReplaceFileBytes(ScheduleOf(user_), alices));
    std::filesystem::create_directories(folders_.UserFolder("bob"));
    ASSERT_TRUE(ReplaceFileBytes(ScheduleOf("bob"), "0\r\n" + RecordLine("3", contract::kJobKindSystemState) +
                                                        RecordLine("4", contract::kJobKindExchange)));
    ASSERT_TRUE(ReplaceFileBytes(app_ / PathFromUtf8(contract::kUserListFile), "alice;bob\r\n"));

    ::PostMessageW(main, WM_COMMAND, CommandId(TrayMenuItem::mnuschinfo), 0);
    manager_ = WaitForWindowOf(monitor_, L"Scheduled Jobs");
    ASSERT_NE(manager_, nullptr) << "the manager did not open";
    EXPECT_EQ(Rows(), "DEFAULT BACKUPSET/alice/|SYSTEMSTATEBACKUP/bob/|OVEXCHANGEBACKUP/bob/|");

    // bob's system state job now on Sundays too, through the wizard's own controls.
    ASSERT_TRUE(Select(1));
    Click(manager_, IDC_Pic_Edit);
    const HWND wizard = WaitForWindowOf(monitor_, L"Backup job scheduling wizard");
    ASSERT_NE(wizard, nullptr) << "the wizard did not open";
    Click(wizard, IDC_optCustomTime);
    Click(wizard, IDC_CheckSun);
    Click(wizard, IDC_Sch_Start4_Next);
    EXPECT_TRUE(WaitUntil([&] { return Schedule("bob").find("\b\b6\b\b1111110\r\n") != std::string::npos; }, 10s))
        << Schedule("bob");
    EXPECT_TRUE(
        WaitUntil([&] { return VisibleWindowOf(monitor_.id, L"Backup job scheduling wizard") == nullptr; }, 5s));

    // Deleting bob's mail-server job.
    ASSERT_TRUE(Select(2));
    Click(manager_, IDC_Pic_Delete);
    ASSERT_TRUE(AnswerYes()) << "no question before the delete";
    EXPECT_TRUE(WaitUntil([&] { return Schedule("bob").find("OVEXCHANGEBACKUP") == std::string::npos; }, 10s));

    // The engine runs bob's system state job: after a refresh it is stopped from the manager.
    const std::string bobs = Schedule("bob");
    ASSERT_TRUE(ReplaceFileBytes(ScheduleOf("bob"), "3" + bobs.substr(1)));
    Click(manager_, IDC_Pic_Refresh);
    EXPECT_TRUE(WaitUntil([&] { return Rows() == "DEFAULT BACKUPSET/alice/|SYSTEMSTATEBACKUP/bob/In Progress|"; }, 5s))
        << Rows();
    ASSERT_TRUE(Select(1));
    Click(manager_, IDC_Pic_Sttrf);
    ASSERT_TRUE(AnswerYes()) << "no question before the stop";
    const auto bobsProfile = folders_.ProfileFile("bob");
    EXPECT_TRUE(WaitUntil([&] { return ReadIni(bobsProfile, "BackupStatus", "DLLStatus") == L"3"; }, 10s));
    EXPECT_EQ(ReadIni(bobsProfile, "BackupStatus", "Status"), L"5");

    Click(manager_, IDC_cmdCancel);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(manager_); }, 5s));
}

}  // namespace
}  // namespace ovp::e2e
