#pragma once
// The view of the scheduled backup status window `frmStatus`: a modeless, topmost dialog
// (IDD_frmStatus in dialogs.rc) that shows what its presenter renders and reports the window's
// load, its refresh timer and the user's clicks to the presenter's events.

#include <windows.h>

#include <memory>
#include <string>

#include "platform/locale_text.h"
#include "ui/status_view.h"
#include "win32/tooltip_win.h"
#include "win32/unique_resource.h"
#include "win32/window_base.h"

namespace ovp::win {

class StatusWindowView final : public WindowBase<StatusWindowView>, public IStatusView {
  public:
    // texts and brandName give the tooltips. instance: the module whose resources hold the
    // template; nullptr for the executable.
    StatusWindowView(ILocaleText& texts, std::string brandName, HINSTANCE instance = nullptr);
    ~StatusWindowView() override;

    // Loads the window (events.Form_Load runs while it is created, the refresh timer starts) or,
    // when it is loaded already, has events re-evaluate it; either way it is shown topmost where
    // it is. False when the window cannot be loaded. events must outlive the window.
    bool Show(IStatusEvents& events, HWND owner);
    bool IsLoaded() const { return window_ != nullptr; }

    void Render(const StatusViewState& state) override;
    void Close() override;

    // The refresh period, 20 seconds unless a test wants it shorter; taken at the next load.
    void SetRefreshInterval(UINT ms) { refreshMs_ = ms; }
    // The buttons' tooltips; nullptr when the window is not loaded or has none.
    const clsToolTip* ToolTip() const { return toolTip_.get(); }

  private:
    friend class WindowBase<StatusWindowView>;

    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnCommand(int id, int code);
    void OnWindowGone(HWND window) noexcept;

    ILocaleText& texts_;
    std::string brandName_;
    HINSTANCE instance_;
    UINT refreshMs_ = 20000;
    IStatusEvents* events_ = nullptr;
    unique_hfont statusFont_;
    std::unique_ptr<clsToolTip> toolTip_;
};

}  // namespace ovp::win
