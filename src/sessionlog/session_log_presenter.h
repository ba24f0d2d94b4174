#pragma once
// The activity log viewer's logic: the session logs of the current user, newest first and fifty to
// a page, described row by row; opening and deleting them. Every opening reads the folder afresh.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "context/app_context.h"
#include "platform/message_box.h"
#include "sessionlog/session_log_catalogue.h"
#include "sessionlog/session_log_view.h"

namespace ovp {

// The English texts of the window.
namespace session_log_text {
inline constexpr std::string_view kTitle = "Session Log";
inline constexpr std::string_view kSubtitle = "Logs of backup, restore and delete operations";
inline constexpr std::string_view kBackupLegend = "Backup Operation";
inline constexpr std::string_view kRestoreLegend = "Restore Operation";
inline constexpr std::string_view kDeleteLegend = "Delete Operation";
inline constexpr std::string_view kView = "View Details";
inline constexpr std::string_view kDelete = "Delete Log";
inline constexpr std::string_view kSelectAll = "&Select All";
inline constexpr std::string_view kClose = "Close";
inline constexpr std::string_view kPrevious = "Previous";
inline constexpr std::string_view kNext = "Next";
inline constexpr std::string_view kHelp = "Help";
inline constexpr std::string_view kOperationHeader = "Operation";
inline constexpr std::string_view kStartTimeHeader = "StartTime";
inline constexpr std::string_view kDescriptionHeader = "Description";
inline constexpr std::string_view kPageJoiner = " of ";
inline constexpr std::string_view kNothingToView = "Select the job(s) for which you want to view the log(s).";
inline constexpr std::string_view kNothingToDelete = "Select the items that you want to delete";
}  // namespace session_log_text

// The column that sorts when clicked.
inline constexpr int kStartTimeColumn = 1;

class frmSessionLog final : public ISessionLogEvents {
  public:
    frmSessionLog(AppContext& context, IMessageBox& messageBox, ISessionLogView& view)
        : context_(context), messageBox_(messageBox), view_(view) {}

    void Form_Load() override;
    void NextImg_Click() override;
    void PrevImg_Click() override;
    void LstSessionLogView_ColumnClick(int column) override;
    void chkSelectAll_Click(bool checked) override;
    void cmdView_Click(const ChosenSessionLogs& chosen) override;
    void LstSessionLogView_DblClick(const ChosenSessionLogs& chosen) override;
    void cmdDelete_Click(const ChosenSessionLogs& chosen) override;
    void cmdCloseSessionLog_Click() override;
    void Image6_Click() override;

    const SessionLogViewState& State() const { return state_; }
    // The logs opened to describe rows since the window was loaded.
    std::size_t FilesOpened() const { return filesOpened_; }

  private:
    void ShowPage(SessionLogPage page);
    void SortRows();
    void ViewChosen(const ChosenSessionLogs& chosen);
    void Trace(std::string_view text);
    // A message of the window in the user's language.
    std::string Message(int id, std::string_view english) const;
    // Buttons act only on rows of the page, never on a name from elsewhere.
    bool IsShown(std::string_view fileName) const;
    std::filesystem::path LogFile(const std::string& fileName) const;

    AppContext& context_;
    IMessageBox& messageBox_;
    ISessionLogView& view_;

    std::filesystem::path folder_;
    SessionLogTexts texts_;
    std::string pageJoiner_;
    // `SortList`: every listed log, newest first.
    std::vector<SessionLogName> logs_;
    SessionLogPage page_;
    bool ascending_ = false;
    std::size_t filesOpened_ = 0;
    SessionLogViewState state_;
};

}  // namespace ovp
