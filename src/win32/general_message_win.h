#pragma once
// The product's own message box `frmGeneralMessage`: a borderless, topmost box with rounded
// corners (the lower-right one square), a picture, the message and up to two buttons, shown
// modal to its owner. Its template is IDD_frmGeneralMessage in dialogs.rc.

#include <windows.h>

#include <string>

#include "platform/message_box.h"
#include "win32/window_base.h"

namespace ovp::win {

class frmGeneralMessage final : public WindowBase<frmGeneralMessage> {
  public:
    // Runs the box in its own message loop until a button is pressed or the box is closed; true
    // only when the visible first button (`Continue`) was pressed. An owner that is no window any
    // more is ignored. False too when the box cannot be shown (no template in the executable).
    static bool Show(HINSTANCE instance, const MessageBoxRequest& request);

  private:
    explicit frmGeneralMessage(const MessageBoxRequest& request) : request_(request) {}

    friend class WindowBase<frmGeneralMessage>;

    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnDialogMessageFailed() noexcept;
    void OnInitDialog();
    void LayOut(const std::wstring& text);
    void ApplyRegion();

    const MessageBoxRequest& request_;
    bool showFirst_ = false;
};

class Win32MessageBox : public IMessageBox {
  public:
    // The module whose resources hold the template; nullptr for the executable.
    explicit Win32MessageBox(HINSTANCE instance = nullptr) : instance_(instance) {}
    bool Show(const MessageBoxRequest& request) override;
    // The window text of a box whose request names no title: the product caption.
    void SetDefaultTitle(std::string title) { defaultTitle_ = std::move(title); }

  private:
    HINSTANCE instance_;
    std::string defaultTitle_;
};

// A caption for a button: '&' would otherwise be taken as the mark of a shortcut key and vanish.
std::wstring ButtonCaption(const std::string& caption);

}  // namespace ovp::win
