#pragma once
// The product's own message box `frmGeneralMessage`: a borderless, topmost box with rounded
// corners (the lower-right one square), a picture, the message and up to two buttons, shown
// modal to its owner. Its template is IDD_frmGeneralMessage in dialogs.rc. The buttons are
// pictures of the images folder that change under the mouse, with their captions in read-only
// text boxes; they are reached by Tab, answer to Enter and Space, and Esc answers like the second.

#include <windows.h>

#include <filesystem>
#include <string>

#include "platform/message_box.h"
#include "win32/images_win.h"
#include "win32/window_base.h"

namespace ovp::win {

class frmGeneralMessage final : public WindowBase<frmGeneralMessage> {
  public:
    // Runs the box in its own message loop until a button is pressed or the box is closed; true
    // only when the visible first button (`Continue`) was pressed. An owner that is no window any
    // more is ignored. False too when the box cannot be shown (no template in the executable).
    // The buttons' pictures are taken from imagesFolder.
    static bool Show(HINSTANCE instance,
                     const MessageBoxRequest& request,
                     const std::filesystem::path& imagesFolder = {});

  private:
    frmGeneralMessage(const MessageBoxRequest& request, const std::filesystem::path& imagesFolder)
        : request_(request), imagesFolder_(imagesFolder) {}

    friend class WindowBase<frmGeneralMessage>;

    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnDialogMessageFailed() noexcept;
    void OnInitDialog();
    void LayOut(const std::wstring& text);
    void ApplyRegion();

    const MessageBoxRequest& request_;
    const std::filesystem::path& imagesFolder_;
    bool showFirst_ = false;
    HoverPicture continue_;
    HoverPicture cancel_;
};

class Win32MessageBox : public IMessageBox {
  public:
    // The module whose resources hold the template; nullptr for the executable.
    explicit Win32MessageBox(HINSTANCE instance = nullptr) : instance_(instance) {}
    bool Show(const MessageBoxRequest& request) override;
    // The window text of a box whose request names no title: the product caption.
    void SetDefaultTitle(std::string title) { defaultTitle_ = std::move(title); }
    // Where the buttons' pictures are.
    void SetImagesFolder(std::filesystem::path folder) { imagesFolder_ = std::move(folder); }

  private:
    HINSTANCE instance_;
    std::string defaultTitle_;
    std::filesystem::path imagesFolder_;
};

}  // namespace ovp::win
