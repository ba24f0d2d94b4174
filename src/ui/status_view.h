#pragma once
// The scheduled-backup status window `frmStatus` as its presenter sees the view: everything the
// window shows, decided by the presenter, and the few things only the view can do.

#include <cstdint>
#include <optional>
#include <string>

namespace ovp {

struct StatusViewState {
    std::string title;              // display name + " - Scheduled Backup Status"
    std::string statusMessage;      // `lblHoursInfo`
    std::string nextBackup;         // `lblBkupInfo`
    std::string userName;           // `lblUserName`
    std::string quotaText;          // `lblQuotaInfo`
    std::string spaceUsedCaption;   // `lblSpaceUsed`
    std::string checkboxCaption;    // `chkDesNotify1`
    std::string viewLogCaption;     // `Cmd_Yes`
    std::string closeCaption;       // `Cmd_No`
    std::string upgradeTip;         // `imgUpgrade`'s tooltip
    bool quotaVisible = false;      // `lblQuotaInfo`, `lblSpaceUsed` and `QuotaProgressbar`
    int quotaPercent = 0;           // `QuotaProgressbar`, 0..100
    std::uint32_t quotaColour = 0;  // 0x00BBGGRR, as Windows writes colours
    bool upgradeVisible = false;    // `imgUpgrade`
    // `chkDesNotify1`: ticked, unticked, or left as the window was designed (unticked).
    std::optional<bool> notifyChecked;
};

class IStatusView {
  public:
    virtual ~IStatusView() = default;
    virtual void Render(const StatusViewState& state) = 0;
    // "Close": the window unloads (its refresh timer stops with it).
    virtual void Close() = 0;
};

// What the view reports to its presenter: the window's load, its 20-second refresh timer
// `frmStatusTimer` and the user's clicks.
class IStatusEvents {
  public:
    virtual ~IStatusEvents() = default;
    virtual void Form_Load() = 0;
    virtual void frmStatusTimer_Timer() = 0;
    virtual void Cmd_Yes_Click() = 0;  // "View Log"
    virtual void Cmd_No_Click() = 0;   // "Close"
    virtual void imgViewLog_Click() = 0;
    virtual void imgUpgrade_Click() = 0;
    virtual void chkDesNotify1_Click(bool checked) = 0;
};

}  // namespace ovp
