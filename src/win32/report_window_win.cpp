#include "win32/report_window_win.h"

#include <commctrl.h>

#include <array>
#include <string>
#include <vector>

#include "win32/dialog_controls.h"
#include "win32/message_dispatch.h"
#include "win32/report_dialog_ids.h"
#include "win32/text_win.h"

namespace ovp::win {

namespace {

constexpr UINT_PTR kContactNumberSubclass = 1;

// The body's line feeds as the edit control shows lines.
std::wstring ForEditControl(const std::string& text) {
    std::string lines;
    lines.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            lines += '\r';
        }
        lines += text[i];
    }
    return Wide(lines);
}

struct PreviewText {
    std::wstring title;
    std::wstring closeCaption;
    std::wstring body;
    HWND* window;
};

}  // namespace

ErrorReportView::~ErrorReportView() {
    Close();
}

bool ErrorReportView::Show(IErrorReportEvents& events, HWND owner) {
    if (window_ != nullptr) {
        BringToFront();
        return true;
    }
    events_ = &events;
    if (!Create(instance_, IDD_frmErrorReport1, owner)) {
        return false;
    }
    ::ShowWindow(window_, SW_SHOW);
    ::SetForegroundWindow(window_);
    return true;
}

void ErrorReportView::Render(const ErrorReportViewState& state) {
    if (window_ == nullptr) {
        return;
    }
    rendering_ = true;
    ::SetWindowTextW(window_, Wide(state.title).c_str());
    const std::array<std::pair<int, const std::string*>, 11> labels = {{
        {IDC_lblfeedback, &state.feedbackCaption},
        {IDC_lblTo, &state.toCaption},
        {IDC_lblFromName, &state.fromNameCaption},
        {IDC_lblFrom, &state.fromCaption},
        {IDC_lblContactNumber, &state.contactCaption},
        {IDC_lblTicketNumber, &state.ticketCaption},
        {IDC_lblTicketHint, &state.ticketHint},
        {IDC_lblSubject, &state.subjectCaption},
        {IDC_lblMsg, &state.messageCaption},
        {IDC_lblSuccess, &state.success},
        {IDC_txtTo, &state.to},
    }};
    for (const auto& [id, text] : labels) {
        SetControlText(window_, id, *text);
    }
    for (const auto& [id, caption] :
         std::array<std::pair<int, const std::string*>, 4>{{{IDC_chkLogs, &state.logsCaption},
                                                            {IDC_cmdSend, &state.sendCaption},
                                                            {IDC_cmdExit, &state.closeCaption},
                                                            {IDC_cmdPreview, &state.previewCaption}}}) {
        SetButtonText(window_, id, *caption);
    }
    // Boxes the user types in are written only when the presenter changed them.
    for (const auto& [id, text] : std::array<std::pair<int, const std::string*>, 6>{{
             {IDC_txtFromName, &state.fromName},
             {IDC_txtFrom, &state.from},
             {IDC_txtContactNumber, &state.contactNumber},
             {IDC_txtTicketNumber, &state.ticketNumber},
             {IDC_txtSubject, &state.subject},
             {IDC_txtMsg, &state.message},
         }}) {
        if (Text(id) != *text) {
            ::SetDlgItemTextW(window_, id, ForEditControl(*text).c_str());
            ::SendDlgItemMessageW(window_, id, EM_SETSEL, static_cast<WPARAM>(-1), -1);
        }
    }
    ::CheckDlgButton(window_, IDC_chkLogs, state.attachLogs ? BST_CHECKED : BST_UNCHECKED);
    ::EnableWindow(::GetDlgItem(window_, IDC_cmdSend), state.sendEnabled);
    ::EnableWindow(::GetDlgItem(window_, IDC_cmdPreview), state.sendEnabled);
    ::EnableWindow(::GetDlgItem(window_, IDC_cmdExit), state.closeEnabled);
    if (toolTip_ != nullptr) {
        for (const auto& [id, tip] : std::array<std::pair<int, const std::string*>, 7>{{
                 {IDC_txtFromName, &state.fromNameTip},
                 {IDC_txtFrom, &state.fromTip},
                 {IDC_txtContactNumber, &state.contactTip},
                 {IDC_txtTicketNumber, &state.ticketTip},
                 {IDC_chkLogs, &state.logsTip},
                 {IDC_cmdSend, &state.sendTip},
                 {IDC_cmdExit, &state.closeTip},
             }}) {
            toolTip_->AddTool(::GetDlgItem(window_, id), *tip);
        }
    }
    rendering_ = false;
}

INT_PTR CALLBACK ErrorReportView::PreviewProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case WM_INITDIALOG: {
            auto* text = reinterpret_cast<PreviewText*>(lParam);
            *text->window = dialog;
            ::SetWindowTextW(dialog, text->title.c_str());
            ::SetDlgItemTextW(dialog, IDC_cmdPreviewClose, text->closeCaption.c_str());
            ::SetDlgItemTextW(dialog, IDC_txtPreview, text->body.c_str());
            // From the top, nothing selected: the focus goes to Close, not into the text.
            ::SetFocus(::GetDlgItem(dialog, IDC_cmdPreviewClose));
            return FALSE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_cmdPreviewClose || LOWORD(wParam) == IDCANCEL) {
                ::EndDialog(dialog, 0);
            }
            return TRUE;
        default:
            return FALSE;
    }
}

void ErrorReportView::ShowPreview(const ReportPreview& preview) {
    if (window_ == nullptr) {
        return;
    }
    PreviewText text{Wide(preview.title), ButtonCaption(preview.closeCaption), ForEditControl(preview.body), &preview_};
    ::DialogBoxParamW(instance_ != nullptr ? instance_ : ::GetModuleHandleW(nullptr),
                      MAKEINTRESOURCEW(IDD_ReportPreview), window_, &ErrorReportView::PreviewProc,
                      reinterpret_cast<LPARAM>(&text));
    preview_ = nullptr;
}

std::string ErrorReportView::Text(int id) const {
    const HWND control = ::GetDlgItem(window_, id);
    const int length = ::GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    std::string narrow = Narrow(text);
    // The edit control's CR LF is the presenter's LF.
    std::string lines;
    for (std::size_t i = 0; i < narrow.size(); ++i) {
        if (!(narrow[i] == '\r' && i + 1 < narrow.size() && narrow[i + 1] == '\n')) {
            lines += narrow[i];
        }
    }
    return lines;
}

LRESULT CALLBACK ErrorReportView::ContactNumberProc(HWND edit,
                                                    UINT message,
                                                    WPARAM wParam,
                                                    LPARAM lParam,
                                                    UINT_PTR /*id*/,
                                                    DWORD_PTR self) noexcept {
    // Control characters (the clipboard's keys among them) pass; printable ones are asked about.
    if (message == WM_CHAR && wParam >= 0x20) {
        auto* view = reinterpret_cast<ErrorReportView*>(self);
        bool accepted = true;
        try {
            accepted =
                view->events_ == nullptr || view->events_->txtContactNumber_KeyPress(static_cast<char32_t>(wParam));
        } catch (...) {
        }
        if (!accepted) {
            return 0;
        }
    }
    return ::DefSubclassProc(edit, message, wParam, lParam);
}

INT_PTR ErrorReportView::OnMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    switch (message) {
        case WM_INITDIALOG:
            ::SetWindowSubclass(::GetDlgItem(window_, IDC_txtContactNumber), &ErrorReportView::ContactNumberProc,
                                kContactNumberSubclass, reinterpret_cast<DWORD_PTR>(this));
            toolTip_ = std::make_unique<clsToolTip>();
            if (!toolTip_->Create(window_)) {
                toolTip_.reset();
            }
            if (events_ != nullptr) {
                events_->Form_Load();
            }
            return TRUE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_CLOSE:
            if (events_ == nullptr || events_->cmdExit_Click()) {
                Close();
            }
            return TRUE;
        default:
            return FALSE;
    }
}

void ErrorReportView::OnCommand(int id, int code) {
    if (events_ == nullptr) {
        return;
    }
    if (code == EN_CHANGE) {
        if (rendering_) {
            return;
        }
        switch (id) {
            case IDC_txtFrom:
                events_->txtFrom_Change(Text(id));
                break;
            case IDC_txtContactNumber:
                events_->txtContactNumber_Change(Text(id));
                break;
            case IDC_txtTicketNumber:
                events_->txtTicketNumber_Change(Text(id));
                break;
            case IDC_txtSubject:
                events_->txtSubject_Change(Text(id));
                break;
            case IDC_txtMsg:
                events_->txtMsg_Change(Text(id));
                break;
            default:
                break;
        }
        return;
    }
    if (code != BN_CLICKED) {
        return;
    }
    switch (id) {
        case IDC_chkLogs:
            events_->chkLogs_Click(::IsDlgButtonChecked(window_, IDC_chkLogs) == BST_CHECKED);
            break;
        case IDC_cmdSend:
            PassTexts();
            events_->cmdSend_Click();
            break;
        case IDC_cmdPreview:
            PassTexts();
            events_->cmdPreview_Click();
            break;
        case IDC_cmdExit:
        case IDCANCEL:  // Esc
            events_->cmdExit_Click();
            break;
        default:
            break;
    }
}

void ErrorReportView::PassTexts() {
    // A multi-line box reports no change when its text is set from outside (a paste tool, an
    // automation), so what the boxes hold is passed on once more before it is used. The ticket
    // number is left out: passing it would rewrite a subject the user has changed since.
    events_->txtFrom_Change(Text(IDC_txtFrom));
    events_->txtContactNumber_Change(Text(IDC_txtContactNumber));
    events_->txtSubject_Change(Text(IDC_txtSubject));
    events_->txtMsg_Change(Text(IDC_txtMsg));
}

void ErrorReportView::OnWindowGone(HWND /*window*/) noexcept {
    // The box's subclass went with the box.
    toolTip_.reset();
    events_ = nullptr;
}

}  // namespace ovp::win

namespace ovp::win {

ErrorReportWindow::ErrorReportWindow(AppContext& context,
                                     IMessageBox& messageBox,
                                     ILocaleFormat& locale,
                                     HINSTANCE instance)
    : context_(context),
      messageBox_(messageBox),
      webDav_(context),
      http_(context, webDav_),
      body_(context, system_, locale),
      view_(instance) {}

ErrorReportWindow::~ErrorReportWindow() {
    view_.Close();
}

bool ErrorReportWindow::Open() {
    if (!view_.IsLoaded()) {
        // A new opening starts from the window's defaults.
        presenter_ = std::make_unique<frmErrorReport1>(context_, messageBox_, view_, body_, http_);
    }
    // Unowned, so that the window has a taskbar button of its own.
    return view_.Show(*presenter_, nullptr);
}

}  // namespace ovp::win
