#pragma once
// The view of the failure notification `frmFailureNotification`: a modeless, borderless pop-up
// (IDD_frmFailureNotification in notify_dialogs.rc), slightly transparent, with rounded corners,
// topmost in the corner of the work area. It shows what its presenter decides and reports the
// clicks on its links and on Close. One window: showing it again updates and raises it.

#include <windows.h>

#include <memory>
#include <string>

#include "platform/locale_text.h"
#include "ui/failure_notification.h"
#include "win32/modeless_dialog.h"
#include "win32/tooltip_win.h"
#include "win32/unique_resource.h"

namespace ovp::win {

// The notification's constant opacity and the corner ellipse of the notification windows.
inline constexpr BYTE kNotificationAlpha = 200;
inline constexpr int kNotificationCornerEllipse = 10;

// What the notification windows share: layered at that opacity, the outline a rounded rectangle
// over the whole window, and moved into the bottom-right corner of the work area.
void MakeLayered(HWND window, BYTE alpha);
void RoundCorners(HWND window);
void PlaceInWorkAreaCorner(HWND window);

class FailureNotificationView final : public ModelessDialog<FailureNotificationView>, public IFailureNotificationView {
  public:
    // texts and brandName give Close's tooltip. instance: the module whose resources hold the
    // template; nullptr for the executable.
    FailureNotificationView(ILocaleText& texts, std::string brandName, HINSTANCE instance = nullptr);
    ~FailureNotificationView() override;

    // Where the clicks go; must outlive the window.
    void SetEvents(IFailureNotificationEvents* events) { events_ = events; }
    bool IsLoaded() const { return window_ != nullptr; }

    void Show(const FailureNotificationState& state) override;
    void Close() override { Destroy(); }

  private:
    friend class WindowBase<FailureNotificationView>;

    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnCommand(int id, int code);
    void OnWindowGone(HWND window) noexcept;
    void Render(const FailureNotificationState& state);
    // Each link right after the words it ends.
    void PlaceLinks();
    bool IsLink(HWND control) const;
    HCURSOR LinkCursor() const;

    ILocaleText& texts_;
    std::string brandName_;
    HINSTANCE instance_;
    IFailureNotificationEvents* events_ = nullptr;
    unique_hfont linkFont_;
    unique_hicon formIcon_;
    unique_hcursor handCursor_;
    std::unique_ptr<clsToolTip> toolTip_;
};

}  // namespace ovp::win
