#pragma once
// `SysTrayMouseEventHandler` and the tray menu's commands: the double-click, the right-click with
// the menu refresh before every pop-up, and one handler per menu item. Everything is derived
// afresh from the stored values at each click, since the engine writes them from its own
// processes; the menu model keeps only what the last refresh decided.

#include <string_view>

#include "commands/command_env.h"
#include "platform/tray.h"
#include "scheduler/job_options.h"

namespace ovp {

// Localised text ids of the captions the refresh and the right-click set.
inline constexpr int kTextQuotaExceeded = 463;       // "Quota Exceeded. Upgrade Now!"
inline constexpr int kTextUpgradeAccount = 398;      // "Upgrade Account"
inline constexpr int kTextOpenDrive = 1464;          // "Open " + product name + " Explorer"
inline constexpr int kTextLoginWord = 577;           // "Login"
inline constexpr int kTextExplorerWord = 1623;       // "Explorer"
inline constexpr int kTextScheduleBackupWord = 422;  // "Schedule Backup"
inline constexpr int kTextDisableScheduled = 966;    // "Disable Scheduled Backup"

// The free storage offer is made only to accounts of exactly this quota, of this product.
inline constexpr double kFreeOfferQuotaBytes = 2147483648.0;
inline constexpr std::string_view kFreeOfferProductName = "Tallux";

class TrayCommands {
  public:
    explicit TrayCommands(CommandEnv env) : env_(env) {}

    // `SysTrayMouseEventHandler`: the left double-click and the right button's release.
    void SysTrayMouseEventHandler(TrayMouse mouse) noexcept;

    // The menu refresh: captions, check marks, visibility and enabled states from the stored
    // values. Runs before every pop-up.
    void MenuRefresh();

    // The chosen menu item, after the menu has closed.
    void OnMenuCommand(TrayMenuItem item) noexcept;
    // A one-shot command timer has fired.
    void OnCommandTimer(CommandTimer timer) noexcept;

    // `mnuStop` for the named user: the tray passes the logged-in user, the schedule manager the
    // user of the row.
    StopRequest mnuStop_Click(std::string_view userName);

  private:
    void TrayDoubleClick();
    void TrayRightClick();
    void ShowQuotaItems(bool quotaExceeded);
    void ApplyFreeOffer();
    void RefreshWebManagement();
    void RefreshCaptions(bool loggedIn);
    void RefreshContinuousBackup();

    void Dispatch(TrayMenuItem item);
    // `MnuOptions`: the running main application is asked to close, then started afresh.
    void RestartMainApplication();
    void ViewLog();
    void ToggleScheduleDisable();
    void OpenUpgradePage();
    void OpenRecentLog();
    // `DLLStatus` "3" or "4" becomes "0", unless a stop request (`Status` "5") still waits for the
    // engine: its `DLLStatus` "3" is part of that request.
    void ResetFinishedJobStatus();

    bool QuotaMarkerExists();
    std::string Text(int id, std::string_view english);

    CommandEnv env_;
};

}  // namespace ovp
