#pragma once
// The schedule manager `SchedulerFrm` ("Scheduled Jobs"): lists the scheduled jobs of every user
// named in userlist.ini, shows which one runs, and edits (through the wizard), deletes and stops
// them. Each row carries its user: every table, file, profile value and stop request of an action
// on a row is that user's, and nothing here ever changes who is logged in.

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "context/app_context.h"
#include "platform/message_box.h"
#include "scheduler/schedule_table.h"
#include "schedules/schedule_manager_view.h"

namespace ovp {

namespace manager_text {
inline constexpr ScheduleText kDisabled{5420, "Disabled"};
inline constexpr ScheduleText kInProgress{658, "In Progress"};
inline constexpr ScheduleText kDefaultBackupSet{5421, "DEFAULT BACKUPSET"};
// The progress label's word groups.
inline constexpr ScheduleText kScheduledBackup{1604, "Scheduled backup"};
inline constexpr ScheduleText kUsername{275, "Username:"};
inline constexpr ScheduleText kForTheBackupSet{1606, "for the Backup set"};
inline constexpr ScheduleText kIsInProgress{1608, "is in progress"};

inline constexpr ScheduleText kReEnable{
    5430,
    "Your scheduled job is currently disabled. Enable them again to activate the "
    "scheduled backup jobs. Would you like to re-enable the scheduled backup jobs?"};
inline constexpr ScheduleText kCannotEdit{5431, "The backup operation is in progress, record cannot be edited"};
inline constexpr ScheduleText kCannotDelete{5432, "The backup operation is in progress, record cannot be deleted."};
inline constexpr ScheduleText kSelectToDelete{5433, "Select a record to delete."};
inline constexpr ScheduleText kConfirmDelete{5434, "Are you sure you wish to delete the scheduled record?"};
inline constexpr ScheduleText kSelectToStop{5435, "Select a record to stop its transfer."};
inline constexpr ScheduleText kSelectRunning{
    5436, "To stop the backup operation, select the scheduled job which is 'In Progress'."};
inline constexpr ScheduleText kConfirmStop{5437, "The scheduled backup job is 'In Progress'. Do you want to stop it?"};
inline constexpr ScheduleText kNotFound{5438, "The scheduled record not found. It may have backed up already."};
inline constexpr ScheduleText kNotDeleted{5439, "The scheduled record could not be deleted."};
}  // namespace manager_text

// The window's fixed texts, localised.
std::vector<ManagerCaption> ManagerCaptions(ILocaleText& texts, std::string_view brandName);

// userlist.ini is a line of names; a larger file is not one.
inline constexpr std::uintmax_t kMaxUserListBytes = 1024 * 1024;

// The users of userlist.ini's last line: trimmed, each once, only names that can be a folder.
std::vector<std::string> GetUserNameList(std::string_view userListBytes);

// Whether the run marker names the job of this keyword: "1" the user's backup set, "2" a SQL
// Server job (the profile's SQLPROG, or any SQL Server keyword), "3" system state, "4" and "5" the
// two mail-server kinds.
bool MarkerNamesJob(std::string_view marker,
                    std::string_view jobKind,
                    std::string_view sqlProg,
                    std::string_view exchangeKeyword,
                    std::string_view exchangeBrickKeyword);

class SchedulerFrm final : public IScheduleManagerEvents {
  public:
    // The tray's stop command for the named user's running job.
    using StopJob = std::function<void(std::string_view userName)>;

    SchedulerFrm(AppContext& context, IMessageBox& box, IScheduleManagerView& view, StopJob stopJob)
        : context_(context), box_(box), view_(view), stopJob_(std::move(stopJob)) {}

    void Form_Load() override;
    void Sch_list_lv_Click(int row) override;
    void Sch_list_lv_DblClick(int row) override;
    void Pic_Edit_Click(int row) override;
    void Pic_Delete_Click(int row) override;
    void Pic_Sttrf_Click(int row) override;
    void Pic_Refresh_Click() override;
    void ViewLog_Click(int row) override;
    void cmdCancel_Click() override;

    const ScheduleManagerViewState& State() const { return state_; }
    // The position of the selected row's record in its user's table; -1 when none.
    long long RecordIndex() const { return recordIndex_; }

  private:
    // What the list does not show of a row.
    struct RowJob {
        std::string userName;
        std::string jobKind;
        bool running = false;
    };

    void LoadList();
    void LoadUser(const std::string& userName);
    void LoadUserSchTime(int row, bool fromDoubleClick);
    // The row's job runs now: by the last load, or by line 1 of its user's file read just now.
    bool RunsNow(int row);
    bool ValidRow(int row) const { return row >= 0 && static_cast<std::size_t>(row) < jobs_.size(); }
    // The message localised.
    void Notice(ScheduleText message, std::string_view iconKind = "info");
    bool Question(ScheduleText message);
    std::string Text(ScheduleText text);
    // The row's texts that stand for a code.
    std::string ShownJobKind(std::string_view jobKind);
    std::string ShownFrequency(std::string_view code);

    AppContext& context_;
    IMessageBox& box_;
    IScheduleManagerView& view_;
    StopJob stopJob_;

    ScheduleManagerViewState state_;
    std::vector<RowJob> jobs_;  // parallel to state_.rows
    // Each listed user's table as the last load read it.
    std::map<std::string, ScheduleTable> tables_;
    long long recordIndex_ = -1;
};

}  // namespace ovp
