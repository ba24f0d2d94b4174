#include "schedules/schedule_manager.h"

#include <gtest/gtest.h>

#include "unit/schedules/schedules_test_env.h"

namespace ovp {
namespace {

using test::RecordLine;

class ManagerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f_.UserList("old;line\r\n alice ;carol;..;bob;alice\r\n");
        f_.WriteSchedule("alice", "0", RecordLine("1", "oventbkupjob", "03-20-2026 22:00:00"));
        f_.WriteSchedule("bob", "0", RecordLine("3", "SYSTEMSTATEBACKUP") + RecordLine("2", "SQLSERVERBACKUPbob"));
    }
    void Load() {
        f_.box.shown.clear();
        manager_.Form_Load();
    }
    // The rows as "text/user/status" joined by "|".
    std::string Rows() {
        std::string text;
        for (const ScheduleManagerRow& row : view_.shown.rows) {
            text += row.backupSet + "/" + row.userName + "/" + row.status + "|";
        }
        return text;
    }

    test::SchedulesFixture f_;
    test::FakeManagerView view_;
    std::vector<std::string> stopped_;
    SchedulerFrm manager_{f_.Context(), f_.box, view_, [this](std::string_view user) { stopped_.emplace_back(user); }};
};

TEST_F(ManagerTest, ListsTheJobsOfEveryListedUserWithAFolder) {
    // carol has no folder; ".." is no user name.
    Load();
    EXPECT_EQ(Rows(), "DEFAULT BACKUPSET/alice/|SYSTEMSTATEBACKUP/bob/|SQLSERVERBACKUPbob/bob/|");
    const ScheduleManagerRow& first = view_.shown.rows[0];
    EXPECT_EQ(std::tuple(first.nextTransfer, first.frequency, first.recordNo, first.sortKey),
              std::tuple("03-20-2026 22:00:00", "Week-Day", "1", "202603202200"));
    EXPECT_EQ(view_.shown.progressLabel, "");

    // A day-first user sees the day first; a disabled user's rows read "Disabled".
    f_.fx.profiles.Write(f_.ProfileOf("alice"), "DateFormat", Obscure("DateFormat"), Obscure("DD-MM-YYYY"));
    f_.Obscured("bob", "ScheduleDisable", "TRUE");
    Load();
    EXPECT_EQ(view_.shown.rows[0].nextTransfer, "20-03-2026 22:00:00");
    EXPECT_EQ(Rows(), "DEFAULT BACKUPSET/alice/|SYSTEMSTATEBACKUP/bob/Disabled|SQLSERVERBACKUPbob/bob/Disabled|");

    std::filesystem::remove(f_.fx.app / "userlist.ini");
    Load();
    EXPECT_EQ(Rows(), "");
    EXPECT_NE(f_.Information().find(" NO UserList.ini file exists."), std::string::npos);
}

TEST_F(ManagerTest, TheRunMarkerMarksItsJobInProgress) {
    f_.WriteSchedule("bob", "0",
                     RecordLine("1", "oventbkupjob") + RecordLine("2", "SQLSERVERBACKUPbob") +
                         RecordLine("2", "MYSQLSET") + RecordLine("3", "SYSTEMSTATEBACKUP") +
                         RecordLine("4", "OVEXCHANGEBACKUP") + RecordLine("5", "OVEXCHANGEBRICKBACKUP"));
    f_.Obscured("bob", "SQLPROG", "MYSQLSET");
    const std::pair<std::string_view, std::string_view> markers[] = {{"1", "DEFAULT BACKUPSET,"},
                                                                     {"2", "SQLSERVERBACKUPbob,MYSQLSET,"},
                                                                     {"3", "SYSTEMSTATEBACKUP,"},
                                                                     {"4", "OVEXCHANGEBACKUP,"},
                                                                     {"5", "OVEXCHANGEBRICKBACKUP,"},
                                                                     {"9", ""},
                                                                     {"0", ""}};
    for (const auto& [marker, running] : markers) {
        const std::string records = f_.ReadSchedule("bob").substr(f_.ReadSchedule("bob").find('\n') + 1);
        f_.WriteSchedule("bob", marker, records);
        Load();
        std::string shown;
        for (const ScheduleManagerRow& row : view_.shown.rows) {
            if (row.status == "In Progress") {
                shown += row.backupSet + ",";
            }
        }
        EXPECT_EQ(shown, std::string(running)) << marker;
    }
    f_.WriteSchedule("bob", "1", RecordLine("1", "oventbkupjob"));
    Load();
    EXPECT_EQ(view_.shown.progressLabel,
              "Scheduled backup (Username:bob) for the Backup set : 'oventbkupjob' is in progress");
}

// Edit and Delete refuse a job that runs, even when its row reads "Disabled" or when the engine
// started it after the list was loaded; Stop takes only a running job, and stops it for its user.
TEST_F(ManagerTest, RunningJobsCannotBeEditedOrDeletedButStopped) {
    f_.WriteSchedule("bob", "3", RecordLine("3", "SYSTEMSTATEBACKUP") + RecordLine("2", "SQLSERVERBACKUPbob"));
    const std::string bobs = f_.ReadSchedule("bob");
    Load();
    manager_.Pic_Edit_Click(1);
    manager_.Sch_list_lv_DblClick(1);
    manager_.Pic_Delete_Click(1);
    manager_.Pic_Sttrf_Click(2);
    manager_.Pic_Sttrf_Click(-1);
    manager_.Pic_Delete_Click(-1);
    EXPECT_EQ(f_.box.Messages(),
              "The backup operation is in progress, record cannot be edited|"
              "The backup operation is in progress, record cannot be edited.|"
              "The backup operation is in progress, record cannot be deleted.|"
              "To stop the backup operation, select the scheduled job which is 'In Progress'.|"
              "Select a record to stop its transfer.|Select a record to delete.|");
    EXPECT_EQ(f_.box.shown[3].iconKind, "warn");

    f_.Obscured("bob", "ScheduleDisable", "TRUE");
    Load();
    f_.WriteSchedule("alice", "1", RecordLine("1", "oventbkupjob"));  // after the load
    f_.box.answers = {false, false, true};
    manager_.Pic_Edit_Click(0);    // alice's, started since
    manager_.Pic_Delete_Click(1);  // bob's: "Disabled", yet running
    manager_.Pic_Sttrf_Click(1);
    EXPECT_EQ(f_.box.Messages(),
              "The backup operation is in progress, record cannot be edited|"
              "The backup operation is in progress, record cannot be deleted.|"
              "The scheduled backup job is 'In Progress'. Do you want to stop it?|");
    EXPECT_EQ(f_.ReadSchedule("bob"), bobs);
    EXPECT_EQ(view_.wizards, 0);
    EXPECT_EQ(stopped_, std::vector<std::string>{"bob"});
    EXPECT_NE(f_.Information().find("Called Stop from Manage All"), std::string::npos);
}

TEST_F(ManagerTest, DeleteRewritesTheRowUsersFileAndTheLastRecordRemovesIt) {
    f_.WriteSchedule("bob", "2", RecordLine("3", "SYSTEMSTATEBACKUP") + RecordLine("2", "SQLSERVERBACKUPbob"));
    Load();
    f_.box.answers = {false, true};
    manager_.Pic_Delete_Click(1);
    EXPECT_EQ(f_.ReadSchedule("bob"),
              "2\r\n" + RecordLine("3", "SYSTEMSTATEBACKUP") + RecordLine("2", "SQLSERVERBACKUPbob"));
    manager_.Pic_Delete_Click(1);
    EXPECT_EQ(f_.ReadSchedule("bob"), "0\r\n" + RecordLine("2", "SQLSERVERBACKUPbob"));
    EXPECT_EQ(Rows(), "DEFAULT BACKUPSET/alice/|SQLSERVERBACKUPbob/bob/|");

    f_.box.answers = {true};
    manager_.Pic_Delete_Click(0);
    EXPECT_FALSE(FileExists(f_.Schedule("alice")));
    EXPECT_EQ(Rows(), "SQLSERVERBACKUPbob/bob/|");
}

// alice is logged in; bob's row is edited: bob's table, file and profile, never alice's. bob's
// profile does not name his SQL Server set: the job keeps its keyword.
TEST_F(ManagerTest, EditWorksOnTheRowUsersRecordAndReEnablesThatUsersSchedules) {
    f_.Obscured("bob", "ScheduleDisable", "TRUE");
    f_.Obscured("alice", "ScheduleDisable", "TRUE");
    const std::string alices = f_.ReadSchedule("alice");
    Load();
    // Each row's RecordNo is looked up in its own user's table.
    manager_.Sch_list_lv_Click(0);
    EXPECT_EQ(manager_.RecordIndex(), 0);
    manager_.Sch_list_lv_Click(2);
    EXPECT_EQ(manager_.RecordIndex(), 1);
    EXPECT_EQ(f_.box.Messages(), "");

    f_.box.answers = {true};
    view_.drive = [](IScheduleWizardEvents& wizard, test::FakeWizardView& view) {
        WizardControls w = view.shown;
        w.weekDays = ParseWeekDays("1000000");
        wizard.Sch_Start4_Next_Click(w);
    };
    manager_.Pic_Edit_Click(2);
    ASSERT_EQ(view_.wizards, 1);
    EXPECT_EQ(f_.Obscured("bob", "ScheduleDisable"), "FALSE");
    EXPECT_EQ(f_.Obscured("alice", "ScheduleDisable"), "TRUE");
    EXPECT_EQ(f_.ReadSchedule("alice"), alices);
    EXPECT_NE(f_.ReadSchedule("bob").find("\b\b1000000\r\n"), std::string::npos);
    EXPECT_EQ(view_.shown.rows.size(), 3u);  // listed again after the wizard
    EXPECT_EQ(f_.Shared("Default User name"), "");
    EXPECT_EQ(f_.profiles.Writes("Registry/" + Obscure("Default User name")), "");
}

// With every text translated, nothing English is left but the keywords and the names.
TEST_F(ManagerTest, EveryTextComesFromTheLanguageFile) {
    test::WriteNumberedLanguage(f_.fx.app);
    std::string records;
    for (const std::string_view frequency : {"1", "2", "3", "5", "6", "7"}) {
        records += RecordLine("1", "oventbkupjob", "03-20-2026 22:00:00", frequency);
    }
    f_.WriteSchedule("alice", "0", records);
    f_.WriteSchedule("bob", "3", RecordLine("3", "SYSTEMSTATEBACKUP") + RecordLine("2", "SQLSERVERBACKUPbob"));
    f_.Obscured("carol", "ScheduleDisable", "TRUE");
    f_.WriteSchedule("carol", "0", RecordLine("3", "SYSTEMSTATEBACKUP"));
    Load();
    test::ExpectEveryCaptionTranslated(view_.captions, ManagerLabel::Close);
    std::string frequencies;
    for (const ScheduleManagerRow& row : view_.shown.rows) {
        frequencies += row.frequency + ",";
    }
    EXPECT_EQ(frequencies, "<5422>,<5423>,<5424>,<5425>,<5426>,<5427>,<5426>,<5426>,<5426>,");
    EXPECT_EQ(Rows().substr(Rows().find("SYS")),
              "SYSTEMSTATEBACKUP/carol/<5420>|SYSTEMSTATEBACKUP/bob/<658>|SQLSERVERBACKUPbob/bob/|");
    EXPECT_EQ(view_.shown.rows[0].backupSet, "<5421>");
    EXPECT_EQ(view_.shown.progressLabel, "<1604> (<275>bob) <1606> : 'SYSTEMSTATEBACKUP' <1608>");

    manager_.Pic_Edit_Click(6);  // carol's, disabled
    manager_.Sch_list_lv_DblClick(7);
    manager_.Pic_Delete_Click(-1);
    EXPECT_EQ(f_.box.Messages(), "<5430>|<5431>.|<5433>|");
}

// View Log opens the newest scheduled-backup log of the selected row's user; with none it opens
// nothing, since the bare folder would open a file browser.
TEST_F(ManagerTest, ViewLogOpensTheRowUsersScheduledLogOrNothing) {
    Load();
    manager_.ViewLog_Click(1);
    EXPECT_TRUE(f_.fx.shell.requests.empty());
    std::filesystem::create_directories(f_.Folder("bob") / "Session");
    test::WriteAll(f_.Folder("bob") / "Session" / "Scheduled Backup.log", "");
    manager_.ViewLog_Click(1);
    ASSERT_EQ(f_.fx.shell.requests.size(), 1u);
    EXPECT_EQ(f_.fx.shell.requests[0].file, f_.Folder("bob") / "Session" / "Scheduled Backup.log");
}

}  // namespace
}  // namespace ovp
