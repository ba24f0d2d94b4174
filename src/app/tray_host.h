#pragma once
// What the window-message and power logic asks of the hidden main window that hosts the tray
// icon. The Win32 main window implements it; tests record the calls.

namespace ovp {

class ITrayHost {
  public:
    virtual ~ITrayHost() = default;
    // "TaskbarCreated": the icon is removed, the form's icon refreshed and the icon added again.
    virtual void RemoveTrayIcon() = 0;
    virtual void RefreshFormIcon() = 0;
    virtual void AddTrayIcon() = 0;
    // The one-shot 1000 ms form timer `chkHibernationTimeOut`.
    virtual void EnableHibernationTimer(bool enable) = 0;
    // Right button on the tray icon: the tray menu with `mnuStop` enabled or not.
    virtual void ShowTrayMenu(bool stopEnabled) = 0;
    // "CloseInteractiveWindow": the explorer logout of the tray commands.
    virtual void ExplorerLogout() = 0;
};

}  // namespace ovp
