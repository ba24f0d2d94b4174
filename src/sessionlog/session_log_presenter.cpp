#include "sessionlog/session_log_presenter.h"

#include <algorithm>

#include "base/files.h"
#include "base/resume_next.h"
#include "base/text.h"
#include "contract/engine_contract.h"
#include "contract/locale_file.h"
#include "scheduler/job_control.h"
#include "ui/captions.h"
#include "ui/message_box.h"
#include "ui/open_document.h"

namespace ovp {

namespace t = session_log_text;

namespace {

constexpr std::string_view kTraceOpening = "Opening Session log ";
constexpr std::string_view kTraceTotal = "Total session logs : ";
constexpr std::string_view kTracePerPage = "Total session logs Per Page : ";
constexpr std::string_view kTraceDblClickEnter = "Enter LstSessionLogView_DblClick()of frmSessionLog form";
constexpr std::string_view kTraceDblClickExit = "Exit LstSessionLogView_DblClick()of frmSessionLog form";

constexpr int kTextTitle = 5300;
constexpr int kTextSubtitle = 5301;
constexpr int kTextBackupLegend = 5302;
constexpr int kTextRestoreLegend = 5303;
constexpr int kTextDeleteLegend = 5304;
constexpr int kTextOperationColumn = 5305;
constexpr int kTextStartTimeColumn = 5306;
constexpr int kTextDescriptionColumn = 5307;
constexpr int kTextView = 5308;
constexpr int kTextDelete = 5309;
constexpr int kTextSelectAll = 5310;
constexpr int kTextClose = 5311;
constexpr int kTextPrevious = 5312;
constexpr int kTextNext = 5313;
constexpr int kTextPageJoiner = 5314;
constexpr int kTextHelp = 410;  // the tray menu's word
constexpr int kTextNothingToView = 5315;
constexpr int kTextNothingToDelete = 5316;
constexpr int kTextScheduledBackup = 5320;
constexpr int kTextInteractiveBackup = 5321;
constexpr int kTextContinuousBackup = 5322;
constexpr int kTextRestore = 5323;
constexpr int kTextTrashRestore = 5324;
constexpr int kTextUndoTrash = 5325;
constexpr int kTextDeletedFiles = 5326;
constexpr int kTextTrashDeletedFiles = 5327;
constexpr int kTextFiles = 5328;
constexpr int kTextFailed = 5329;

struct CaptionText {
    std::string SessionLogViewState::*caption;
    int id;
    std::string_view english;
};

constexpr CaptionText kCaptions[] = {
    {&SessionLogViewState::title, kTextTitle, t::kTitle},
    {&SessionLogViewState::subtitle, kTextSubtitle, t::kSubtitle},
    {&SessionLogViewState::backupLegend, kTextBackupLegend, t::kBackupLegend},
    {&SessionLogViewState::restoreLegend, kTextRestoreLegend, t::kRestoreLegend},
    {&SessionLogViewState::deleteLegend, kTextDeleteLegend, t::kDeleteLegend},
    {&SessionLogViewState::operationColumn, kTextOperationColumn, t::kOperationHeader},
    {&SessionLogViewState::startTimeColumn, kTextStartTimeColumn, t::kStartTimeHeader},
    {&SessionLogViewState::descriptionColumn, kTextDescriptionColumn, t::kDescriptionHeader},
    {&SessionLogViewState::viewCaption, kTextView, t::kView},
    {&SessionLogViewState::deleteCaption, kTextDelete, t::kDelete},
    {&SessionLogViewState::selectAllCaption, kTextSelectAll, t::kSelectAll},
    {&SessionLogViewState::closeCaption, kTextClose, t::kClose},
    {&SessionLogViewState::previousCaption, kTextPrevious, t::kPrevious},
    {&SessionLogViewState::nextCaption, kTextNext, t::kNext},
    {&SessionLogViewState::helpCaption, kTextHelp, t::kHelp},
};

// The words of the rows; their English texts are those SessionLogTexts starts with.
struct RowText {
    std::string SessionLogTexts::*text;
    int id;
};

constexpr RowText kRowTexts[] = {
    {&SessionLogTexts::scheduledLabel, kTextScheduledBackup},
    {&SessionLogTexts::backupLabel, kTextInteractiveBackup},
    {&SessionLogTexts::continuousLabel, kTextContinuousBackup},
    {&SessionLogTexts::restoreLabel, kTextRestore},
    {&SessionLogTexts::trashRestoreLabel, kTextTrashRestore},
    {&SessionLogTexts::undoLabel, kTextUndoTrash},
    {&SessionLogTexts::deleteLabel, kTextDeletedFiles},
    {&SessionLogTexts::trashDeleteLabel, kTextTrashDeletedFiles},
    {&SessionLogTexts::files, kTextFiles},
    {&SessionLogTexts::failed, kTextFailed},
};

}  // namespace

void frmSessionLog::Form_Load() {
    ResumeNext([&] {
        state_ = {};
        const std::string& brandName = context_.settings.productName;
        // The window is laid out for the English captions: a longer translation is cut to fit.
        for (const CaptionText& caption : kCaptions) {
            state_.*caption.caption = WindowCaption(context_.texts, caption.id, caption.english, brandName);
        }
        pageJoiner_ = WindowCaption(context_.texts, kTextPageJoiner, t::kPageJoiner, brandName);
        texts_ = {};
        // The engine names scheduled backups in the user's language.
        texts_.scheduled = LocaleStringOr(context_.texts, kScheduledLogWordTextId, kScheduledLogWordDefault, brandName);
        // Untranslated, a scheduled backup's row goes on saying what the engine named it.
        texts_.scheduledLabel = texts_.scheduled + " " + texts_.backup;
        for (const RowText& row : kRowTexts) {
            texts_.*row.text = LocaleStringOr(context_.texts, row.id, texts_.*row.text, brandName);
        }
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
            Notice(messageBox_, Message(kTextNothingToDelete, t::kNothingToDelete), view_.OwnerWindow());
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

void frmSessionLog::Image6_Click() {
    ResumeNext([&] { OpenHelpGuide(context_); });
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
    state_.pageLabel = SessionLogPageLabel(page, total, pageJoiner_);
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
        Notice(messageBox_, Message(kTextNothingToView, t::kNothingToView), view_.OwnerWindow());
    }
}

void frmSessionLog::Trace(std::string_view text) {
    context_.trace.Info(text);
}

std::string frmSessionLog::Message(int id, std::string_view english) const {
    return LocaleStringOr(context_.texts, id, english, context_.settings.productName);
}

bool frmSessionLog::IsShown(std::string_view fileName) const {
    return std::any_of(state_.rows.begin(), state_.rows.end(),
                       [&](const SessionLogRow& row) { return EqualsNoCase(row.fileName, fileName); });
}

std::filesystem::path frmSessionLog::LogFile(const std::string& fileName) const {
    return folder_ / PathFromUtf8(fileName);
}

}  // namespace ovp
