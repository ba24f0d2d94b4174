#pragma once
// The view of the error report `frmErrorReport1`: a modeless dialog (report_dialogs.rc) that
// shows what its presenter renders and reports the load, the typing and the clicks. The contact
// number box discards the keys the presenter refuses; a paste is filtered by the presenter.

#include <windows.h>

#include <memory>
#include <string>

#include "context/app_context.h"
#include "net/http_functions.h"
#include "net/webdav_control.h"
#include "platform/locale_format.h"
#include "platform/message_box.h"
#include "report/error_report_presenter.h"
#include "report/error_report_view.h"
#include "win32/modeless_dialog.h"
#include "win32/report_system_win.h"
#include "win32/tooltip_win.h"

namespace ovp::win {

class ErrorReportView final : public ModelessDialog<ErrorReportView>, public IErrorReportView {
  public:
    explicit ErrorReportView(HINSTANCE instance = nullptr) : instance_(instance) {}
    ~ErrorReportView() override;

    // Loads the window (events.Form_Load runs while it is created) or, when it is loaded, brings
    // it to the front. events must outlive the window.
    bool Show(IErrorReportEvents& events, HWND owner);
    bool IsLoaded() const { return window_ != nullptr; }

    void Render(const ErrorReportViewState& state) override;
    void ShowPreview(const ReportPreview& preview) override;
    void Close() override { Destroy(); }
    std::uintptr_t Handle() override { return reinterpret_cast<std::uintptr_t>(window_); }

    // The preview window while it is open; nullptr otherwise.
    HWND PreviewWindow() const { return preview_; }

  private:
    friend class WindowBase<ErrorReportView>;

    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id, int code);
    void OnWindowGone(HWND window) noexcept;
    std::string Text(int id) const;
    void PassTexts();
    static LRESULT CALLBACK
    ContactNumberProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self) noexcept;
    static INT_PTR CALLBACK PreviewProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    HINSTANCE instance_;
    IErrorReportEvents* events_ = nullptr;
    std::unique_ptr<clsToolTip> toolTip_;
    // Set while Render writes the boxes, whose change notices are then not the user's.
    bool rendering_ = false;
    HWND preview_ = nullptr;
};

// The error report as the tray opens it: one window at a time, modeless, with its presenter, the
// report's builder and the program's WebDAV control for the sending.
class ErrorReportWindow {
  public:
    ErrorReportWindow(AppContext& context, IMessageBox& messageBox, ILocaleFormat& locale, HINSTANCE instance);
    ~ErrorReportWindow();
    ErrorReportWindow(const ErrorReportWindow&) = delete;
    ErrorReportWindow& operator=(const ErrorReportWindow&) = delete;

    // Opens the window, or brings the open one to the front.
    bool Open();
    ErrorReportView& View() { return view_; }

  private:
    AppContext& context_;
    IMessageBox& messageBox_;
    Win32ReportSystem system_;
    WebDavControl webDav_;
    HttpFunctions http_;
    ErrorReportBody body_;
    ErrorReportView view_;
    std::unique_ptr<frmErrorReport1> presenter_;
};

}  // namespace ovp::win
