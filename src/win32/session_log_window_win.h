#pragma once
// The view of the activity log viewer `frmSessionLog`: a modeless dialog (IDD_frmSessionLog) with
// the list of logs (check boxes, report columns, a picture per row), the paging buttons and the
// buttons that act on the ticked or selected rows. It shows what its presenter renders and reports
// the user's actions; one window at a time.

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include <filesystem>
#include <string_view>

#include "platform/locale_text.h"
#include "sessionlog/session_log_view.h"
#include "win32/images_win.h"
#include "win32/modeless_dialog.h"
#include "win32/tooltip_win.h"
#include "win32/unique_resource.h"

namespace ovp::win {

class SessionLogView final : public ModelessDialog<SessionLogView>, public ISessionLogView {
  public:
    // texts and brandName give the tooltips. instance: the module whose resources hold the
    // template; nullptr for the executable.
    SessionLogView(ILocaleText& texts, std::string brandName, HINSTANCE instance = nullptr);
    ~SessionLogView() override;

    // Loads the window (events.Form_Load runs while it is created) or, when it is open already,
    // brings it to the front as it is. False when it cannot be loaded. events must outlive the window.
    bool Show(ISessionLogEvents& events);
    bool IsLoaded() const { return window_ != nullptr; }
    // Where the paging buttons' pictures come from; for the next loading.
    void SetImagesFolder(std::filesystem::path folder) { imagesFolder_ = std::move(folder); }
    // The image key a paging button shows now; "" for another control.
    std::string_view PictureKeyShown(int id) const;

    void Render(const SessionLogViewState& state) override;
    void CheckAllRows(bool checked) override;
    void Close() override { Destroy(); }
    std::uintptr_t OwnerWindow() override { return reinterpret_cast<std::uintptr_t>(window_); }

    // The rows ticked or selected, as the buttons report them.
    ChosenSessionLogs Chosen() const;

  private:
    friend class WindowBase<SessionLogView>;

    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnCommand(int id, int code);
    INT_PTR OnNotify(const NMHDR& header);
    void OnWindowGone(HWND window) noexcept;
    HWND List() const;

    ILocaleText& texts_;
    std::string brandName_;
    HINSTANCE instance_;
    ISessionLogEvents* events_ = nullptr;
    // The file names of the rows shown, in display order.
    std::vector<std::string> rows_;
    std::vector<unique_hicon> legendIcons_;
    std::filesystem::path imagesFolder_;
    HoverPicture previousButton_;
    HoverPicture nextButton_;
    std::unique_ptr<clsToolTip> toolTip_;
};

}  // namespace ovp::win
