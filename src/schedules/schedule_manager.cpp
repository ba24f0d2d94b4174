#include "schedules/schedule_manager.h"

#include <algorithm>
#include <cstdio>

#include "base/files.h"
#include "base/text.h"
#include "contract/engine_contract.h"
#include "contract/folders.h"
#include "scheduler/job_control.h"
#include "scheduler/schedule_codes.h"
#include "scheduler/schedule_dates.h"
#include "scheduler/schedule_file.h"
#include "scheduler/schedule_proposals.h"
#include "schedules/schedule_user.h"
#include "schedules/schedule_wizard.h"
#include "ui/message_box.h"
#include "ui/open_document.h"

namespace ovp {

namespace c = contract;

namespace {

// "dd-mm-yyyy HH:mm:ss" for a day-first user, the stored form otherwise; a value that is no date
// is shown as it stands.
std::string ShownNextTransfer(std::string_view nextRun, std::string_view userDateFormat) {
    const auto at = ReadScheduleStamp(nextRun);
    if (!at) {
        return Trim(nextRun);
    }
    if (!IsDayFirstDateFormat(userDateFormat)) {
        return FormatStamp(*at);
    }
    char text[32];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d %02d:%02d:%02d", at->day, at->month, at->year, at->hour,
                  at->minute, at->second);
    return text;
}

// The list's frequency names, by the English name of the record's code.
constexpr ScheduleText kFrequencyNames[] = {{5422, "Once"},    {5423, "Hourly"},   {5424, "Daily"},
                                            {5425, "Monthly"}, {5426, "Week-Day"}, {5427, "Weekend (Sat - Sun)"}};

constexpr CaptionRow<ManagerLabel> kCaptions[] = {
    {ManagerLabel::Title, {5400, "Scheduled Jobs"}},
    {ManagerLabel::BackupSetColumn, {5401, "Backup set"}},
    {ManagerLabel::NextTransferColumn, {5402, "Next Transfer"}},
    {ManagerLabel::FrequencyColumn, {5403, "Frequency"}},
    {ManagerLabel::StatusColumn, {5404, "Status"}},
    {ManagerLabel::UserNameColumn, {5405, "User Name"}},
    {ManagerLabel::CannotEditNote,
     {5406, "The scheduled job with the status 'In Progress' cannot be edited or deleted."}},
    {ManagerLabel::StopNote, {5407, "Click 'Stop Transfer' to stop the scheduled job which is 'In Progress'."}},
    {ManagerLabel::Edit, {5408, "Edit"}},
    {ManagerLabel::Delete, {5409, "Delete"}},
    {ManagerLabel::StopTransfer, {5410, "Stop Transfer"}},
    {ManagerLabel::Refresh, {5411, "Refresh"}},
    {ManagerLabel::ViewLog, {5412, "View Log"}},
    {ManagerLabel::Close, {5413, "Close"}},
};

}  // namespace

std::vector<ManagerCaption> ManagerCaptions(ILocaleText& texts, std::string_view brandName) {
    return LocalisedCaptions<ManagerLabel>(kCaptions, texts, brandName);
}

std::vector<std::string> GetUserNameList(std::string_view userListBytes) {
    std::string lastLine;
    for (const std::string& line : Split(userListBytes, "\n")) {
        if (!TrimWhitespace(line).empty()) {
            lastLine = line;
        }
    }
    std::vector<std::string> users;
    for (const std::string& piece : Split(lastLine, c::kUserListSeparator)) {
        const std::string name = TrimWhitespace(piece);
        if (IsSafeFolderName(name) && std::find(users.begin(), users.end(), name) == users.end()) {
            users.push_back(name);
        }
    }
    return users;
}

bool MarkerNamesJob(std::string_view marker,
                    std::string_view jobKind,
                    std::string_view sqlProg,
                    std::string_view exchangeKeyword,
                    std::string_view exchangeBrickKeyword) {
    const std::string value = Trim(marker);
    if (value == c::kRecordNoBackupSet) {
        return jobKind == c::kJobKindBackupSet;
    }
    if (value == c::kRecordNoSqlServer) {
        const std::string prog = Trim(sqlProg);
        return (!prog.empty() && jobKind == prog) || jobKind.starts_with(c::kJobKindSqlServerPrefix);
    }
    if (value == c::kRecordNoSystemState) {
        return jobKind == c::kJobKindSystemState;
    }
    if (value == c::kRecordNoExchange) {
        return jobKind == exchangeKeyword;
    }
    if (value == c::kRecordNoExchangeBrick) {
        return jobKind == exchangeBrickKeyword;
    }
    return false;
}

void SchedulerFrm::Form_Load() {
    view_.ShowCaptions(ManagerCaptions(context_.texts, context_.settings.productName));
    LoadList();
}

void SchedulerFrm::Pic_Refresh_Click() {
    LoadList();
}

void SchedulerFrm::LoadList() {
    state_ = {};
    jobs_.clear();
    tables_.clear();
    recordIndex_ = -1;
    const auto userList = context_.folders.AppFolder() / PathFromUtf8(c::kUserListFile);
    const auto bytes = ReadFileBytes(userList, kMaxUserListBytes);
    if (!bytes) {
        context_.trace.WriteTrace(TraceLine(context_.ports.clock, "", " NO UserList.ini file exists."));
    } else {
        for (const std::string& userName : GetUserNameList(*bytes)) {
            if (FolderExists(context_.folders.UserFolder(userName))) {
                LoadUser(userName);
            }
        }
    }
    view_.Render(state_);
}

void SchedulerFrm::LoadUser(const std::string& userName) {
    ScheduleUser user(context_, userName);
    const ScheduleFileReading reading = ReadScheduleFile(user.ScheduleFile());
    if (!reading.exists) {
        context_.trace.WriteTrace(TraceLine(context_.ports.clock, "", "  Schedule Disabled"));
        return;
    }
    ScheduleTable& table = tables_[userName];
    table.SetFilePath(user.ScheduleFile());
    // The marker and the records from one reading, so that a row's state belongs to its record.
    const std::string marker = reading.bytes ? reading.bytes->substr(0, reading.bytes->find_first_of("\r\n")) : "";
    DB_ReadAllRecord(table, context_.ports.codePage, reading);

    const bool disabled = user.SchedulesDisabled();
    const std::string sqlProg = user.Transfer().Trf_ReadUserProfile(c::kSqlProg);
    const std::string dateFormat = user.DateFormat();
    for (const ScheduleRecord& record : table.Records()) {
        if (record.JobKind.empty()) {
            continue;
        }
        ScheduleManagerRow row{ShownJobKind(record.JobKind),
                               ShownNextTransfer(record.NextRun, dateFormat),
                               ShownFrequency(record.Frequency),
                               "",
                               userName,
                               record.RecordNo,
                               record.SortKey};
        const bool running = MarkerNamesJob(marker, record.JobKind, sqlProg, context_.exchangeJobKeyword,
                                            context_.exchangeBrickJobKeyword);
        if (disabled) {
            row.status = Text(manager_text::kDisabled);
        } else if (running) {
            row.status = Text(manager_text::kInProgress);
            state_.progressLabel = Text(manager_text::kScheduledBackup) + " (" + Text(manager_text::kUsername) +
                                   userName + ") " + Text(manager_text::kForTheBackupSet) + " : '" + record.JobKind +
                                   "' " + Text(manager_text::kIsInProgress);
        }
        state_.rows.push_back(std::move(row));
        jobs_.push_back(RowJob{userName, record.JobKind, running});
    }
}

void SchedulerFrm::Sch_list_lv_Click(int row) {
    if (!ValidRow(row)) {
        recordIndex_ = -1;
        return;
    }
    const auto table = tables_.find(jobs_[row].userName);
    const auto found = table == tables_.end() ? std::nullopt : table->second.FindRecordNo(state_.rows[row].recordNo);
    if (!found) {
        Notice(manager_text::kNotFound);
        LoadList();
        return;
    }
    recordIndex_ = static_cast<long long>(*found);
}

void SchedulerFrm::Sch_list_lv_DblClick(int row) {
    LoadUserSchTime(row, true);
}

void SchedulerFrm::Pic_Edit_Click(int row) {
    LoadUserSchTime(row, false);
}

void SchedulerFrm::LoadUserSchTime(int row, bool fromDoubleClick) {
    if (!ValidRow(row)) {
        return;
    }
    const RowJob job = jobs_[row];
    ScheduleUser user(context_, job.userName);
    if (user.SchedulesDisabled() && Question(manager_text::kReEnable)) {
        user.WriteSchedulesDisabled(false);
    }
    if (RunsNow(row)) {
        const std::string message = Text(manager_text::kCannotEdit) + (fromDoubleClick ? "." : "");
        ovp::Notice(box_, message, view_.OwnerWindow());
        return;
    }
    ScheduleTable table(user.ScheduleFile());
    DB_ReadAllRecord(table, context_.ports.codePage);
    const auto found = table.FindJobKind(job.jobKind);
    if (!found) {
        Notice(manager_text::kNotFound);
        LoadList();
        return;
    }
    table.SelectCurrent(*found);
    frmSchStart1 wizard(context_, box_, user, table, ScheduleKindFromJobKind(job.jobKind));
    view_.ShowWizard(wizard);
    LoadList();
}

void SchedulerFrm::Pic_Delete_Click(int row) {
    if (!ValidRow(row)) {
        Notice(manager_text::kSelectToDelete);
        return;
    }
    if (RunsNow(row)) {
        Notice(manager_text::kCannotDelete);
        return;
    }
    if (!Question(manager_text::kConfirmDelete)) {
        return;
    }
    const RowJob job = jobs_[row];
    ScheduleUser user(context_, job.userName);
    ScheduleTable table(user.ScheduleFile());
    DB_ReadAllRecord(table, context_.ports.codePage);
    if (const auto found = table.FindJobKind(job.jobKind)) {
        table.DeleteRecord(*found);
        if (!DB_WriteAllRecord(table, context_.ports.codePage, ScheduleWriter::Manager).Succeeded()) {
            context_.trace.Error("The schedule of " + job.userName + " could not be written");
            Notice(manager_text::kNotDeleted);
        }
    }
    LoadList();
}

void SchedulerFrm::Pic_Sttrf_Click(int row) {
    if (!ValidRow(row)) {
        Notice(manager_text::kSelectToStop);
        return;
    }
    if (!jobs_[row].running) {
        Notice(manager_text::kSelectRunning, "warn");
        return;
    }
    if (!Question(manager_text::kConfirmStop)) {
        return;
    }
    const std::string userName = jobs_[row].userName;
    if (FileExists(ScheduleUser(context_, userName).ScheduleFile()) && stopJob_) {
        stopJob_(userName);
        context_.trace.Info("Called Stop from Manage All");
    }
}

void SchedulerFrm::ViewLog_Click(int row) {
    const std::string userName = ValidRow(row) ? jobs_[row].userName : context_.values.CurrentUserName();
    ScheduleUser user(context_, userName);
    const std::string log = FindLatestScheduledLog(user.SessionFolder(), context_.texts);
    if (log.empty()) {
        context_.trace.Info("No scheduled backup log to show for " + userName);
        return;
    }
    OpenDocument(context_.ports.shell, user.SessionFolder() / PathFromUtf8(log));
}

void SchedulerFrm::cmdCancel_Click() {
    view_.Close();
}

bool SchedulerFrm::RunsNow(int row) {
    const RowJob& job = jobs_[row];
    if (job.running) {
        return true;
    }
    // The engine may have started this very job since the list was loaded.
    ScheduleUser user(context_, job.userName);
    const std::string marker = Readfirstline(user.ScheduleFile(), context_.ports.codePage);
    return MarkerNamesJob(marker, job.jobKind, user.Transfer().Trf_ReadUserProfile(c::kSqlProg),
                          context_.exchangeJobKeyword, context_.exchangeBrickJobKeyword);
}

void SchedulerFrm::Notice(ScheduleText message, std::string_view iconKind) {
    ovp::Notice(box_, Text(message), view_.OwnerWindow(), iconKind);
}

bool SchedulerFrm::Question(ScheduleText message) {
    return ovp::Question(box_, Text(message), view_.OwnerWindow());
}

std::string SchedulerFrm::Text(ScheduleText text) {
    return Localised(context_.texts, text, context_.settings.productName);
}

std::string SchedulerFrm::ShownJobKind(std::string_view jobKind) {
    return jobKind == c::kJobKindBackupSet ? Text(manager_text::kDefaultBackupSet) : std::string(jobKind);
}

std::string SchedulerFrm::ShownFrequency(std::string_view code) {
    const std::string english = GetFreNameFromIndex(code);
    for (const ScheduleText& name : kFrequencyNames) {
        if (name.english == english) {
            return Text(name);
        }
    }
    return english;
}

}  // namespace ovp
