#pragma once
// The scheduled-backup status window's logic: what `frmStatus` shows after a scheduled backup or
// on request (the engine's status message, the next scheduled backup, the storage quota used) and
// what its buttons do. Every evaluation reads the engine's values and files afresh.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "context/app_context.h"
#include "platform/locale_format.h"
#include "ui/status_view.h"

namespace ovp {

// The quota bar's colours, 0x00BBGGRR.
inline constexpr std::uint32_t kQuotaRed = 0x002528EF;    // RGB(239, 40, 37)
inline constexpr std::uint32_t kQuotaGreen = 0x0021A943;  // RGB(67, 169, 33)

// The storage plans whose exhaustion the window reports with the upgrade offer, in bytes.
inline constexpr double kQuotaPlanSizes[] = {2147483648.0, 4294967296.0, 12884901888.0, 161061273600.0};

// The English texts of the window (see captions.h for their localised forms).
namespace status_text {
inline constexpr std::string_view kTitleSuffix = " - Scheduled Backup Status";
inline constexpr std::string_view kCheckbox = "Show this dialog after each schedule backup";
inline constexpr std::string_view kViewLog = "View Log";
inline constexpr std::string_view kClose = "Close";
inline constexpr std::string_view kAccountName = "Account Name:";
inline constexpr std::string_view kSpaceUsed = "Space Used:";
inline constexpr std::string_view kOutOf = "out of";
inline constexpr std::string_view kInProgress = "The scheduled backup job is in progress";
inline constexpr std::string_view kNoSchedule = "No backup has been scheduled.";
inline constexpr std::string_view kFailed = "Backup has failed";
inline constexpr std::string_view kQuotaExhausted =
    "Your data could not be backed up as you have utilized the allocated quota. Upgrade and try again.";
inline constexpr std::string_view kNotLoggedIn =
    "Login to the account for which you want to see the scheduled backup status.";
inline constexpr std::string_view kUpgradeTip = "Upgrade Account";
}  // namespace status_text

class frmStatus final : public IStatusEvents {
  public:
    // Opens the activity log viewer (modal or not); empty while there is none to open.
    using OpenLogViewer = std::function<void()>;

    frmStatus(AppContext& context, ILocaleFormat& locale, IStatusView& view, OpenLogViewer openLogViewer = {})
        : context_(context), locale_(locale), view_(view), openLogViewer_(std::move(openLogViewer)) {}

    // Evaluates, renders and traces "Loaded Status Form"; the view starts its refresh timer.
    void Form_Load() override;
    // Evaluates again and renders, so that a job that ends while the window is open shows.
    void frmStatusTimer_Timer() override;
    void Cmd_Yes_Click() override;
    void Cmd_No_Click() override;
    void imgViewLog_Click() override;
    void imgUpgrade_Click() override;
    void chkDesNotify1_Click(bool checked) override;

    // What the view was last told to render.
    const StatusViewState& State() const { return state_; }

  private:
    struct Evaluation;

    void Evaluate(bool load);
    void EvaluateUser(Evaluation& eval, const std::string& userName);
    void EvaluateQuota(Evaluation& eval);
    void SelectMessage(Evaluation& eval);
    void ViewLog();
    void Trace(std::string_view text);
    void Render();

    // A localised text fitted to the English text's room, and one that has room for any length.
    std::string Caption(int id, std::string_view english) const;
    std::string Text(int id, std::string_view english) const;
    std::string QuotaExhaustedText() const;
    std::string DisabledFromTrayText() const;
    std::filesystem::path UserFile(std::string_view name);
    // The first line of SchStatus.txt (ANSI, UTF-8 or UTF-16); "" when it is missing, locked or
    // too large to be a message.
    std::string StatusFileLine();
    // SchStatus.txt as one UTF-16 line, replaced whole.
    bool WriteStatusFile(std::string_view line);

    AppContext& context_;
    ILocaleFormat& locale_;
    IStatusView& view_;
    OpenLogViewer openLogViewer_;

    StatusViewState state_;
    // The recent flag of the last evaluation: the last scheduled backup ended less than 30
    // minutes ago.
    bool recent_ = false;
    // The engine's message this window consumed (emptied SchStatus.txt of) while it stays open.
    std::string consumedMessage_;
    // The trace lines of the last evaluation: a refresh traces only when they change.
    std::vector<std::string> lastTraces_;
};

}  // namespace ovp
