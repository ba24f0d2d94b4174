#pragma once
// What the window-message and power logic asks of the hidden main window that hosts the tray
// icon. The Win32 main window implements the icon's part; the main form adds the menu and the
// logout, which belong to the tray commands. Tests record the calls.

namespace ovp {

class ITrayIconHost {
  public:
    virtual ~ITrayIconHost() = default;
    // "TaskbarCreated": the icon is removed, the form's icon refreshed and the icon added again.
    virtual void RemoveTrayIcon() = 0;
    virtual void RefreshFormIcon() = 0;
    virtual void AddTrayIcon() = 0;
    // The one-shot 1000 ms form timer `chkHibernationTimeOut`.
    virtual void EnableHibernationTimer(bool enable) = 0;
};

class ITrayHost : public ITrayIconHost {
  public:
    // The tray menu, as a right-click on the icon shows it.
    virtual void ShowTrayMenu() = 0;
    // "CloseInteractiveWindow": the explorer logout of the tray commands.
    virtual void ExplorerLogout() = 0;
};

}  // namespace ovp
