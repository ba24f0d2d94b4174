#include "sessionlog/session_log_presenter.h"

#include <algorithm>

#include "base/files.h"
#include "base/resume_next.h"
#include "base/text.h"
#include "contract/engine_contract.h"
#include "contract/locale_file.h"
#include "scheduler/job_control.h"
#include "ui/message_box.h"

namespace ovp {

namespace t = session_log_text;

namespace {

constexpr std::string_view kTraceOpening = "Opening Session log ";
constexpr std::string_view kTraceTotal = "Total session logs : ";
constexpr std::string_view kTracePerPage = "Total session logs Per Page : ";
constexpr std::string_view kTraceDblClickEnter = "Enter LstSessionLogView_DblClick()of frmSessionLog form";
constexpr std::string_view kTraceDblClickExit = "Exit LstSessionLogView_DblClick()of frmSessionLog form";

}  // namespace

void frmSessionLog::Form_Load() {
    ResumeNext([&] {
        state_ = {};
        state_.title = t::kTitle;
        state_.subtitle = t::kSubtitle;
        state_.backupLegend = t::kBackupLegend;
        state_.restoreLegend = t::kRestoreLegend;
        state_.deleteLegend = t::kDeleteLegend;
        state_.operationColumn = "Operation";
        state_.startTimeColumn = "StartTime";
        state_.descriptionColumn = "Description";
        state_.viewCaption = t::kView;
        state_.deleteCaption = t::kDelete;
        state_.selectAllCaption = t::kSelectAll;
        state_.closeCaption = t::kClose;
        state_.previousCaption = t::kPrevious;
        state_.nextCaption = t::kNext;
        texts_ = {};
        // The engine names scheduled backups in the user's language.
        texts_.scheduled = LocaleStringOr(context_.texts, kScheduledLogWordTextId, kScheduledLogWordDefault,
                                          context_.settings.productName);
        ascending_ = false;
        filesOpened_ = 0;
        folder_ = context_.values.UserFolder() / PathFromUtf8(contract::kSessionFolder);
        Trace(std::string(kTraceOpening) + Utf8FromPath(folder_));
        logs_ = SortAndSplitLogFiles(folder_);
        Trace(std::string(kTraceTotal) + std::to_string(logs_.size()));
        ShowPage(FirstSessionLogPage(logs_.size()));
        Trace(std::string(kTracePerPage) + std::to_string(state_.rows.size()));
    });
}

void frmSessionLog::NextImg_Click() {
    ResumeNext([&] { ShowPage(NextSessionLogPage(page_, logs_.size())); });
}

void frmSessionLog::PrevImg_Click() {
    ResumeNext([&] { ShowPage(PreviousSessionLogPage(page_, logs_.size())); });
}

void frmSessionLog::LstSessionLogView_ColumnClick(int column) {
    if (column != kStartTimeColumn) {
        return;
    }
    ResumeNext([&] {
        ascending_ = !ascending_;
        SortRows();
        view_.Render(state_);
    });
}

void frmSessionLog::chkSelectAll_Click(bool checked) {
    ResumeNext([&] {
        state_.selectAllChecked = checked;
        view_.CheckAllRows(checked);
    });
}

void frmSessionLog::cmdView_Click(const ChosenSessionLogs& chosen) {
    ResumeNext([&] { ViewChosen(chosen); });
}

void frmSessionLog::LstSessionLogView_DblClick(const ChosenSessionLogs& chosen) {
    ResumeNext([&] { Trace(kTraceDblClickEnter); });
    ResumeNext([&] { ViewChosen(chosen); });
    ResumeNext([&] { Trace(kTraceDblClickExit); });
}

void frmSessionLog::cmdDelete_Click(const ChosenSessionLogs& chosen) {
    ResumeNext([&] {
        if (chosen.empty()) {
            Notice(messageBox_, t::kNothingToDelete, view_.OwnerWindow());
            return;
        }
        for (const std::string& fileName : chosen) {
            if (!IsShown(fileName)) {
                continue;
            }
            // A file that cannot be deleted still leaves the list until the next opening.
            ResumeNext([&] { DeleteFileIfExists(LogFile(fileName)); });
            std::erase_if(logs_, [&](const SessionLogName& log) { return EqualsNoCase(log.fileName, fileName); });
        }
        ShowPage(SessionLogPageFrom(page_.first, logs_.size()));
    });
}

void frmSessionLog::cmdCloseSessionLog_Click() {
    ResumeNext([&] { view_.Close(); });
}

void frmSessionLog::ShowPage(SessionLogPage page) {
    const std::size_t total = logs_.size();
    page_ = page;
    state_.rows.clear();
    for (std::size_t index = page.first; index >= 1 && index <= page.last && index <= total; ++index) {
        ResumeNext([&] {
            state_.rows.push_back(
                BuildSessionLogRow(logs_[index - 1], folder_, texts_, context_.ports.codePage, filesOpened_));
        });
    }
    SortRows();
    state_.pageLabel = SessionLogPageLabel(page, total, t::kPageJoiner);
    state_.nextEnabled = HasNextSessionLogPage(page, total);
    state_.previousEnabled = HasPreviousSessionLogPage(page);
    state_.viewEnabled = state_.deleteEnabled = state_.selectAllEnabled = total > 0;
    state_.selectAllChecked = false;
    view_.Render(state_);
}

void frmSessionLog::SortRows() {
    std::stable_sort(state_.rows.begin(), state_.rows.end(), [&](const SessionLogRow& a, const SessionLogRow& b) {
        return ascending_ ? a.sortValue < b.sortValue : a.sortValue > b.sortValue;
    });
}

void frmSessionLog::ViewChosen(const ChosenSessionLogs& chosen) {
    int opened = 0;
    for (const std::string& fileName : chosen) {
        ResumeNext([&] {
            const std::filesystem::path file = LogFile(fileName);
            if (IsShown(fileName) && FileExists(file)) {
                OpenSessionLog(context_.ports.shell, file);
                ++opened;
            }
        });
    }
    if (opened == 0) {
        Notice(messageBox_, t::kNothingToView, view_.OwnerWindow());
    }
}

void frmSessionLog::Trace(std::string_view text) {
    context_.trace.Info(text);
}

bool frmSessionLog::IsShown(std::string_view fileName) const {
    return std::any_of(state_.rows.begin(), state_.rows.end(),
                       [&](const SessionLogRow& row) { return EqualsNoCase(row.fileName, fileName); });
}

std::filesystem::path frmSessionLog::LogFile(const std::string& fileName) const {
    return folder_ / PathFromUtf8(fileName);
}

}  // namespace ovp
