#include "win32/failure_notification_win.h"

#include <algorithm>
#include <array>

#include "win32/general_message_win.h"
#include "win32/message_dispatch.h"
#include "win32/notify_dialog_ids.h"
#include "win32/text_win.h"

namespace ovp::win {

namespace {

constexpr COLORREF kLinkColour = RGB(0, 102, 204);
constexpr int kCornerMargin = 8;

constexpr std::array kLinks = {IDC_lblViewLogLink, IDC_lblSchedulerLink, IDC_lblErrorReportLink};

void SetText(HWND dialog, int id, const std::string& text) {
    ::SetDlgItemTextW(dialog, id, Wide(text).c_str());
}

RECT ChildRect(HWND dialog, int id) {
    RECT rect{};
    const HWND control = ::GetDlgItem(dialog, id);
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The dialog's font underlined, for the links.
HFONT UnderlinedFont(HWND dialog) {
    LOGFONTW font{};
    const auto dialogFont = reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (dialogFont == nullptr || ::GetObjectW(dialogFont, sizeof(font), &font) == 0) {
        return nullptr;
    }
    font.lfUnderline = TRUE;
    return ::CreateFontIndirectW(&font);
}

// The width of the text in the control's font, in pixels.
int TextWidth(HWND control, const std::wstring& text) {
    const HDC dc = ::GetDC(control);
    if (dc == nullptr) {
        return 0;
    }
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = font != nullptr ? ::SelectObject(dc, font) : nullptr;
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    if (previous != nullptr) {
        ::SelectObject(dc, previous);
    }
    ::ReleaseDC(control, dc);
    return size.cx;
}

}  // namespace

void MakeLayered(HWND window, BYTE alpha) {
    const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
    ::SetWindowLongPtrW(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(window, 0, alpha, LWA_ALPHA);
}

void RoundCorners(HWND window) {
    RECT frame{};
    ::GetWindowRect(window, &frame);
    unique_hrgn outline(::CreateRoundRectRgn(0, 0, frame.right - frame.left + 1, frame.bottom - frame.top + 1,
                                             kNotificationCornerEllipse, kNotificationCornerEllipse));
    // On success the window owns the region.
    if (outline && ::SetWindowRgn(window, outline.get(), TRUE) != 0) {
        outline.release();
    }
}

void PlaceInWorkAreaCorner(HWND window) {
    RECT work{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        return;
    }
    RECT frame{};
    ::GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int x = std::max(static_cast<int>(work.left), static_cast<int>(work.right) - width - kCornerMargin);
    const int y = std::max(static_cast<int>(work.top), static_cast<int>(work.bottom) - height - kCornerMargin);
    ::SetWindowPos(window, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

FailureNotificationView::FailureNotificationView(ILocaleText& texts, std::string brandName, HINSTANCE instance)
    : texts_(texts), brandName_(std::move(brandName)), instance_(instance) {}

FailureNotificationView::~FailureNotificationView() {
    Close();
}

void FailureNotificationView::Show(const FailureNotificationState& state) {
    if (window_ == nullptr) {
        ::CreateDialogParamW(instance_ != nullptr ? instance_ : ::GetModuleHandleW(nullptr),
                             MAKEINTRESOURCEW(IDD_frmFailureNotification), nullptr,
                             &FailureNotificationView::DialogProc, reinterpret_cast<LPARAM>(this));
        if (window_ == nullptr) {
            return;
        }
    }
    Render(state);
    PlaceInWorkAreaCorner(window_);
    ::ShowWindow(window_, SW_SHOW);
    ::SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(window_);
}

void FailureNotificationView::Close() {
    if (window_ != nullptr) {
        ::DestroyWindow(window_);
    }
}

void FailureNotificationView::Render(const FailureNotificationState& state) {
    ::SetWindowTextW(window_, Wide(state.title).c_str());
    SetText(window_, IDC_LabelBackupFailure, state.sentence);
    SetText(window_, IDC_lblViewLogLink, state.viewLogLink);
    SetText(window_, IDC_lblFailureReason, state.reason);
    SetText(window_, IDC_lblSchedulerLink, state.schedulerLink);
    SetText(window_, IDC_lblSupport, state.support);
    SetText(window_, IDC_lblErrorReportLink, state.errorReportLink);
    ::SetDlgItemTextW(window_, IDC_cancel, ButtonCaption(state.closeCaption).c_str());
    PlaceSupportLink();

    unique_hicon icon(static_cast<HICON>(
        ::LoadImageW(nullptr, state.formIcon.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE)));
    if (icon) {
        ::SendDlgItemMessageW(window_, IDC_formicon, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
        ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.get()));
        formIcon_ = std::move(icon);
    }
    handCursor_.reset(static_cast<HCURSOR>(
        ::LoadImageW(nullptr, state.handCursor.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE)));
}

void FailureNotificationView::PlaceSupportLink() {
    const HWND support = ::GetDlgItem(window_, IDC_lblSupport);
    std::wstring words(::GetWindowTextLengthW(support) + 1, L'\0');
    words.resize(static_cast<std::size_t>(::GetWindowTextW(support, words.data(), static_cast<int>(words.size()))));
    if (!words.empty() && words.back() == L'.') {
        words.pop_back();
    }
    const RECT label = ChildRect(window_, IDC_lblSupport);
    const RECT link = ChildRect(window_, IDC_lblErrorReportLink);
    const int width = TextWidth(support, words);
    ::SetWindowPos(support, nullptr, 0, 0, width, label.bottom - label.top, SWP_NOMOVE | SWP_NOZORDER);
    ::SetWindowPos(::GetDlgItem(window_, IDC_lblErrorReportLink), nullptr, label.left + width, link.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER);
}

bool FailureNotificationView::IsLink(HWND control) const {
    for (const int id : kLinks) {
        if (control != nullptr && control == ::GetDlgItem(window_, id)) {
            return true;
        }
    }
    return false;
}

HCURSOR FailureNotificationView::LinkCursor() const {
    return handCursor_ ? handCursor_.get() : ::LoadCursorW(nullptr, IDC_HAND);
}

INT_PTR FailureNotificationView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            RegisterModelessDialog(window_);
            OnInitDialog();
            return TRUE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_CLOSE:
            Close();
            return TRUE;
        case WM_SETCURSOR:
            if (IsLink(reinterpret_cast<HWND>(wParam))) {
                ::SetCursor(LinkCursor());
                ::SetWindowLongPtrW(window_, DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        case WM_CTLCOLORSTATIC:
            if (IsLink(reinterpret_cast<HWND>(lParam))) {
                const auto dc = reinterpret_cast<HDC>(wParam);
                ::SetTextColor(dc, kLinkColour);
                ::SetBkColor(dc, ::GetSysColor(COLOR_3DFACE));
                return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_3DFACE));
            }
            return FALSE;
        default:
            return FALSE;
    }
}

void FailureNotificationView::OnInitDialog() {
    MakeLayered(window_, kNotificationAlpha);
    RoundCorners(window_);
    linkFont_.reset(UnderlinedFont(window_));
    if (linkFont_) {
        for (const int id : kLinks) {
            ::SendDlgItemMessageW(window_, id, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), FALSE);
        }
    }
    const std::array tools = {ToolTipBinding{::GetDlgItem(window_, IDC_cancel), "frmFailureNotification.cancel"}};
    toolTip_ = AssignToolTip(window_, tools, texts_, brandName_);
}

void FailureNotificationView::OnCommand(int id, int code) {
    // Links report STN_CLICKED and the button BN_CLICKED, which share the value 0.
    if (code != BN_CLICKED) {
        return;
    }
    if (id == IDCANCEL) {  // Esc
        Close();
        return;
    }
    if (events_ == nullptr) {
        return;
    }
    switch (id) {
        case IDC_lblViewLogLink:
            events_->lblViewLogLink_Click();
            break;
        case IDC_lblSchedulerLink:
            events_->lblSchedulerLink_Click();
            break;
        case IDC_lblErrorReportLink:
            events_->lblErrorReportLink_Click();
            break;
        case IDC_cancel:
            events_->cancel_Click();
            break;
        default:
            break;
    }
}

void FailureNotificationView::OnWindowGone(HWND window) noexcept {
    UnregisterModelessDialog(window);
    toolTip_.reset();
    linkFont_.reset();
    formIcon_.reset();
    handCursor_.reset();
}

}  // namespace ovp::win
