#pragma once
// The view of the scheduled backup status window `frmStatus`: a modeless, topmost dialog
// (IDD_frmStatus in dialogs.rc) that shows what its presenter renders and reports the window's
// load, its refresh timer and the user's clicks to the presenter's events. Its pictures come from
// the images folder: the buttons and the upgrade picture change theirs under the mouse, and the
// hand pointer shows over every picture and button that can be clicked.

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>

#include "contract/trace_sink.h"
#include "platform/locale_text.h"
#include "platform/shell.h"
#include "ui/pictures.h"
#include "ui/status_view.h"
#include "win32/images_win.h"
#include "win32/modeless_dialog.h"
#include "win32/tooltip_win.h"
#include "win32/unique_resource.h"

namespace ovp::win {

class StatusWindowView final : public ModelessDialog<StatusWindowView>, public IStatusView {
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
    void Close() override { Destroy(); }

    // The refresh period, 20 seconds unless a test wants it shorter; taken at the next load.
    void SetRefreshInterval(UINT ms) { refreshMs_ = ms; }
    // The images folder and the window's own pictures; taken at the next load.
    void SetPictures(std::filesystem::path imagesFolder, StatusWindowPictures pictures);
    // Where a link followed in a tooltip is opened; without them it is not.
    void SetLinkPorts(IShell& shell, ITraceSink& trace);
    // The buttons' tooltips; nullptr when the window is not loaded or has none.
    clsToolTip* ToolTip() const { return toolTip_.get(); }
    // The picture a button or the upgrade picture shows now ("" for another control).
    std::string_view PictureKeyShown(int id) const;
    HCURSOR HandPointer() const { return hand_.Get(); }

  private:
    friend class WindowBase<StatusWindowView>;

    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnCommand(int id, int code);
    void OnWindowGone(HWND window) noexcept;
    void LoadPictures();
    bool OnDrawItem(const DRAWITEMSTRUCT& item);
    // A link in a tooltip was followed.
    void ObjTooltip_OnHyperlinkClick(const std::string& link);

    ILocaleText& texts_;
    std::string brandName_;
    HINSTANCE instance_;
    UINT refreshMs_ = 20000;
    IStatusEvents* events_ = nullptr;
    unique_hfont statusFont_;
    std::unique_ptr<clsToolTip> toolTip_;
    std::filesystem::path imagesFolder_;
    StatusWindowPictures pictures_;
    IShell* shell_ = nullptr;
    ITraceSink* trace_ = nullptr;
    HandCursor hand_;
    unique_hicon bigIcon_;
    unique_hicon smallIcon_;
    unique_hbitmap logo_;
    HoverPicture viewLogButton_;
    HoverPicture closeButton_;
    HoverPicture upgradePicture_;
};

}  // namespace ovp::win
