#include "win32/failure_notification_win.h"

#include <algorithm>
#include <array>

#include "win32/dialog_controls.h"
#include "win32/general_message_win.h"
#include "win32/message_dispatch.h"
#include "win32/notify_dialog_ids.h"
#include "win32/text_win.h"

namespace ovp::win {

namespace {

constexpr COLORREF kLinkColour = RGB(0, 102, 204);
constexpr int kCornerMargin = 8;

constexpr std::array kLinks = {IDC_lblViewLogLink, IDC_lblSchedulerLink, IDC_lblErrorReportLink};

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

std::wstring TextOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Measures text in a control's font.
class TextMeasure {
  public:
    explicit TextMeasure(HWND control) : control_(control), dc_(::GetDC(control)) {
        const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
        if (dc_ != nullptr && font != nullptr) {
            previous_ = ::SelectObject(dc_, font);
        }
        TEXTMETRICW metrics{};
        lineHeight_ = dc_ != nullptr && ::GetTextMetricsW(dc_, &metrics) ? metrics.tmHeight : 0;
    }
    ~TextMeasure() {
        if (dc_ != nullptr) {
            if (previous_ != nullptr) {
                ::SelectObject(dc_, previous_);
            }
            ::ReleaseDC(control_, dc_);
        }
    }
    TextMeasure(const TextMeasure&) = delete;
    TextMeasure& operator=(const TextMeasure&) = delete;

    int Width(const std::wstring& text) const {
        SIZE size{};
        return dc_ != nullptr && ::GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size)
                   ? size.cx
                   : 0;
    }
    int LineHeight() const { return lineHeight_; }

  private:
    HWND control_;
    HDC dc_;
    HGDIOBJ previous_ = nullptr;
    int lineHeight_ = 0;
};

// Where the words of a label end as it wraps them (at blanks, as a static does), trailing blanks
// left out: the x after the last word and a blank, and the top of that line.
POINT WordsEnd(HWND dialog, int labelId, std::wstring_view words) {
    const RECT box = ChildRect(dialog, labelId);
    const TextMeasure measure(::GetDlgItem(dialog, labelId));
    std::wstring line;
    int lines = 0;
    for (std::size_t begin = 0; begin < words.size();) {
        const std::size_t blank = std::min(words.find(L' ', begin), words.size());
        const std::wstring word(words.substr(begin, blank - begin));
        begin = blank + 1;
        if (word.empty()) {
            continue;
        }
        const std::wstring longer = line.empty() ? word : line + L" " + word;
        if (!line.empty() && measure.Width(longer) > box.right - box.left) {
            ++lines;
            line = word;
        } else {
            line = longer;
        }
    }
    return {box.left + measure.Width(line + L" "), box.top + lines * measure.LineHeight()};
}

// The link right after the label's words, or at the start of the next line when it would reach
// beyond the text's column (the main sentence's width).
void PlaceLinkAfter(HWND dialog, int labelId, int linkId, std::wstring_view words) {
    const RECT box = ChildRect(dialog, labelId);
    const LONG columnRight = ChildRect(dialog, IDC_LabelBackupFailure).right;
    const HWND link = ::GetDlgItem(dialog, linkId);
    const TextMeasure measure(link);
    const int width = measure.Width(TextOf(link)) + 2;
    POINT at = WordsEnd(dialog, labelId, words);
    if (at.x + width > columnRight) {
        at = {box.left, at.y + measure.LineHeight()};
    }
    ::SetWindowPos(link, nullptr, at.x, at.y, width, measure.LineHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
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
    if (window_ == nullptr && !Create(instance_, IDD_frmFailureNotification)) {
        return;
    }
    Render(state);
    // On top of everything, but the keyboard stays where the user is typing.
    PlaceInWorkAreaCorner(window_);
    ::ShowWindow(window_, SW_SHOWNA);
}

void FailureNotificationView::Render(const FailureNotificationState& state) {
    ::SetWindowTextW(window_, Wide(state.title).c_str());
    SetControlText(window_, IDC_LabelBackupFailure, state.sentence);
    SetControlText(window_, IDC_lblViewLogLink, state.viewLogLink);
    SetControlText(window_, IDC_lblFailureReason, state.reason);
    SetControlText(window_, IDC_lblSchedulerLink, state.schedulerLink);
    SetControlText(window_, IDC_lblSupport, state.support);
    SetControlText(window_, IDC_lblErrorReportLink, state.errorReportLink);
    SetButtonText(window_, IDC_cancel, state.closeCaption);
    PlaceLinks();

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

void FailureNotificationView::PlaceLinks() {
    PlaceLinkAfter(window_, IDC_LabelBackupFailure, IDC_lblViewLogLink,
                   TextOf(::GetDlgItem(window_, IDC_LabelBackupFailure)));
    PlaceLinkAfter(window_, IDC_lblFailureReason, IDC_lblSchedulerLink,
                   TextOf(::GetDlgItem(window_, IDC_lblFailureReason)));
    // The support line's full stop ends the sentence that the link completes: the label is cut
    // before it and the link takes its place.
    const HWND support = ::GetDlgItem(window_, IDC_lblSupport);
    std::wstring words = TextOf(support);
    if (!words.empty() && words.back() == L'.') {
        words.pop_back();
    }
    const RECT box = ChildRect(window_, IDC_lblSupport);
    const POINT end = WordsEnd(window_, IDC_lblSupport, words);
    PlaceLinkAfter(window_, IDC_lblSupport, IDC_lblErrorReportLink, words);
    ::SetWindowPos(support, nullptr, 0, 0, end.x - box.left, box.bottom - box.top, SWP_NOMOVE | SWP_NOZORDER);
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

void FailureNotificationView::OnWindowGone(HWND /*window*/) noexcept {
    toolTip_.reset();
    linkFont_.reset();
    formIcon_.reset();
    handCursor_.reset();
}

}  // namespace ovp::win
