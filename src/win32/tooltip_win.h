#pragma once
// `clsToolTip`: a thin owner of one common tooltip control that gives the buttons and pictures of
// a window their tips.

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/locale_text.h"

namespace ovp::win {

class clsToolTip {
  public:
    clsToolTip() = default;
    ~clsToolTip() { Destroy(); }
    clsToolTip(const clsToolTip&) = delete;
    clsToolTip& operator=(const clsToolTip&) = delete;

    // Styles that take effect at Create.
    bool Balloon() const { return balloon_; }
    void SetBalloon(bool balloon) { balloon_ = balloon; }
    bool RightToLeft() const { return rightToLeft_; }
    void SetRightToLeft(bool rightToLeft) { rightToLeft_ = rightToLeft; }

    // Creates the tooltip window owned by parent; true when it exists.
    bool Create(HWND parent);
    // Destroys the tooltip window; it also goes when its parent does.
    void Destroy();

    // One tool per control window; a second AddTool for the same control replaces its text.
    bool AddTool(HWND control, std::string_view text);
    void RemoveToolTip(HWND control);
    std::string ToolTipText(HWND control) const;
    void SetToolTipText(HWND control, std::string_view text);

    // The title above every tip, with a standard icon (TTI_NONE, TTI_INFO, TTI_WARNING, TTI_ERROR).
    std::string ToolTipTitle() const { return title_; }
    int ToolTipIcon() const { return titleIcon_; }
    void SetToolTipTitle(std::string_view title, int icon = TTI_NONE);

    COLORREF BackColor() const;
    void SetBackColor(COLORREF colour);
    COLORREF ForeColor() const;
    void SetForeColor(COLORREF colour);

    // kind: TTDT_INITIAL, TTDT_AUTOPOP or TTDT_RESHOW. The control keeps at most 32767 ms;
    // longer times are kept at that (a larger number would wrap into a short or a default time).
    int DelayTime(DWORD kind) const;
    void SetDelayTime(DWORD kind, int ms);

    int MaxTipWidth() const;
    void SetMaxTipWidth(int pixels);

    RECT Margins() const;
    void SetMargins(const RECT& margins);
    void SetMargin(int pixels) { SetMargins(RECT{pixels, pixels, pixels, pixels}); }

    // The font is not owned: it must outlive the tooltip window.
    HFONT Font() const { return font_; }
    void SetFont(HFONT font);

    int ToolTipCount() const;
    HWND ToolTipHandle() const { return window_; }
    // Takes down the tip that is showing, if any.
    void Hide();

    // Raised when the user follows a link of a tip (written <a href="target">words</a>), with the
    // link's target. The control tells the window that owns the tools; that window passes its
    // WM_NOTIFY here.
    std::function<void(const std::string& link)> OnHyperlinkClick;
    // True when the notification was this tooltip's.
    bool OnNotify(const NMHDR& header);

  private:
    TTTOOLINFOW ToolInfo(HWND control) const;

    HWND window_ = nullptr;
    HWND parent_ = nullptr;
    bool balloon_ = false;
    bool rightToLeft_ = false;
    HFONT font_ = nullptr;
    std::string title_;
    int titleIcon_ = TTI_NONE;
};

// One control of a window and its key in the tooltip table ("frmStatus.Cmd_Yes").
struct ToolTipBinding {
    HWND control = nullptr;
    std::string_view key;
};

// A form's `AssignToolTip`: one tooltip for the form, tips shown at once and kept for as long as
// the control allows, one tool per control with the wrapped text of the table. nullptr when the
// tooltip cannot be created: the controls then simply have no tips.
std::unique_ptr<clsToolTip> AssignToolTip(HWND form,
                                          std::span<const ToolTipBinding> tools,
                                          ILocaleText& texts,
                                          std::string_view brandName);

}  // namespace ovp::win
