#include "win32/general_message_win.h"

#include <algorithm>
#include <utility>

#include "ui/message_box.h"
#include "win32/dialog_controls.h"
#include "win32/dialog_ids.h"
#include "win32/text_win.h"
#include "win32/unique_resource.h"

namespace ovp::win {

namespace {

// Layout in dialog units; one line of the dialog font is 8 units high.
constexpr int kLineHeight = 8;
constexpr int kMargin = 10;
constexpr int kIconHeight = 20;
constexpr int kButtonHeight = 14;
constexpr int kBottomMargin = 8;
constexpr int kCornerEllipse = 10;

PCWSTR IconFor(const std::string& kind) {
    if (kind == "question") {
        return IDI_QUESTION;
    }
    if (kind == "warn") {
        return IDI_WARNING;
    }
    return IDI_INFORMATION;
}

// Every kind of line break as CR LF, which the scrolling text needs (the label takes either).
std::string CrLfBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            out += text[i];
        }
    }
    return out;
}

// Dialog units to pixels of this dialog's font, vertically.
int DluY(HWND dialog, int units) {
    RECT rect{0, 0, 0, units};
    ::MapDialogRect(dialog, &rect);
    return rect.bottom;
}

// Lines the label needs with its own font and width: a guard for texts of wide characters,
// which the character count underestimates.
int MeasuredLines(HWND label, const std::wstring& text) {
    RECT client{};
    ::GetClientRect(label, &client);
    const HDC dc = ::GetDC(label);
    if (dc == nullptr) {
        return 0;
    }
    const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(label, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    RECT needed{0, 0, client.right, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
                DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS);
    ::SelectObject(dc, old);
    ::ReleaseDC(label, dc);
    return metrics.tmHeight > 0 ? static_cast<int>((needed.bottom + metrics.tmHeight - 1) / metrics.tmHeight) : 0;
}

void MoveControl(HWND dialog, int id, int x, int y, int width, int height) {
    ::SetWindowPos(::GetDlgItem(dialog, id), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT ControlRect(HWND dialog, int id) {
    RECT rect{};
    const HWND control = ::GetDlgItem(dialog, id);
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

bool frmGeneralMessage::Show(HINSTANCE instance,
                             const MessageBoxRequest& request,
                             const std::filesystem::path& imagesFolder) {
    HWND owner = reinterpret_cast<HWND>(request.owner);
    if (owner != nullptr && !::IsWindow(owner)) {
        owner = nullptr;
    }
    frmGeneralMessage form(request, imagesFolder);
    const INT_PTR result = ::DialogBoxParamW(instance != nullptr ? instance : ::GetModuleHandleW(nullptr),
                                             MAKEINTRESOURCEW(IDD_frmGeneralMessage), owner,
                                             &frmGeneralMessage::DialogProc, reinterpret_cast<LPARAM>(&form));
    return result == 1;
}

INT_PTR frmGeneralMessage::OnDialogMessageFailed() noexcept {
    // A box that cannot go on answers as if it had been closed.
    ::EndDialog(window_, 0);
    return TRUE;
}

INT_PTR frmGeneralMessage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return FALSE;  // the focus is set already
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            return continue_.Draw(item) || cancel_.Draw(item) ? TRUE : FALSE;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_SETFOCUS) {
                // Enter answers for the button that has the focus.
                ::SendMessageW(window_, DM_SETDEFID, LOWORD(wParam), 0);
                return TRUE;
            }
            if (HIWORD(wParam) != BN_CLICKED) {
                return FALSE;
            }
            switch (LOWORD(wParam)) {
                case IDC_Continue:
                    // A hidden button cannot answer, whoever clicks it.
                    if (showFirst_) {
                        ::EndDialog(window_, 1);
                    }
                    return TRUE;
                case IDC_IDCancel:  // the second button, Esc
                    ::EndDialog(window_, 0);
                    return TRUE;
                default:
                    return FALSE;  // Enter with no button focused answers nothing
            }
        case WM_CLOSE:
            ::EndDialog(window_, 0);
            return TRUE;
        case WM_LBUTTONDOWN:
            // The box has no title bar: it is dragged by its body, and the labels let the
            // mouse through to it.
            ::ReleaseCapture();
            ::SendMessageW(window_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

void frmGeneralMessage::OnInitDialog() {
    showFirst_ = request_.showFirst;
    if (!request_.title.empty()) {
        ::SetWindowTextW(window_, Wide(request_.title).c_str());
    }
    // A box with no visible button could not be closed with the mouse: the second one is shown.
    const bool showSecond = request_.showSecond || !request_.showFirst;
    ::SendDlgItemMessageW(window_, IDC_imgMessageIcon, STM_SETICON,
                          reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IconFor(request_.iconKind))), 0);
    SetButtonText(window_, IDC_Continue, request_.firstCaption);
    SetButtonText(window_, IDC_IDCancel, request_.secondCaption);
    ::ShowWindow(::GetDlgItem(window_, IDC_Continue), showFirst_ ? SW_SHOW : SW_HIDE);
    ::ShowWindow(::GetDlgItem(window_, IDC_IDCancel), showSecond ? SW_SHOW : SW_HIDE);
    for (auto [picture, id] : {std::pair{&continue_, IDC_Continue}, std::pair{&cancel_, IDC_IDCancel}}) {
        if (picture->Attach(::GetDlgItem(window_, id), imagesFolder_, kSmallButtonPictures, RGB(0, 0, 0))) {
            picture->AddCaptionBox();
        }
    }

    LayOut(Wide(CrLfBreaks(request_.message)));
    ApplyRegion();

    const int focus = showFirst_ ? IDC_Continue : IDC_IDCancel;
    ::SendMessageW(window_, DM_SETDEFID, static_cast<WPARAM>(focus), 0);
    ::SetFocus(::GetDlgItem(window_, focus));
}

void frmGeneralMessage::LayOut(const std::wstring& text) {
    const HWND label = ::GetDlgItem(window_, IDC_lblMessage);
    const int lines = std::max(MessageLineCount(request_.message), MeasuredLines(label, text));
    const MessageBoxLayout layout = MessageBoxLayoutForLines(lines);

    const RECT labelRect = ControlRect(window_, IDC_lblMessage);
    const int labelHeight = DluY(window_, layout.visibleLines * kLineHeight);
    const int contentHeight = std::max(labelHeight, DluY(window_, kIconHeight));
    const int buttonsTop = labelRect.top + contentHeight + DluY(window_, kMargin);
    const int height = buttonsTop + DluY(window_, kButtonHeight + kBottomMargin);
    const int labelWidth = labelRect.right - labelRect.left;

    const int shown = layout.scrolls ? IDC_txtMessage : IDC_lblMessage;
    const int hidden = layout.scrolls ? IDC_lblMessage : IDC_txtMessage;
    MoveControl(window_, shown, labelRect.left, labelRect.top, labelWidth, labelHeight);
    ::SetDlgItemTextW(window_, shown, text.c_str());
    ::ShowWindow(::GetDlgItem(window_, shown), SW_SHOW);
    ::ShowWindow(::GetDlgItem(window_, hidden), SW_HIDE);

    for (const int button : {IDC_Continue, IDC_IDCancel}) {
        const RECT rect = ControlRect(window_, button);
        MoveControl(window_, button, rect.left, buttonsTop, rect.right - rect.left, rect.bottom - rect.top);
    }

    // Centred on the work area of the owner's screen (or of the screen the box is on).
    RECT frame{};
    ::GetWindowRect(window_, &frame);
    const int width = frame.right - frame.left;
    const HWND owner = ::GetWindow(window_, GW_OWNER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(owner != nullptr ? owner : window_, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const int x = work.left + std::max(0, static_cast<int>(work.right - work.left - width) / 2);
    const int y = work.top + std::max(0, static_cast<int>(work.bottom - work.top - height) / 2);
    ::SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmGeneralMessage::ApplyRegion() {
    RECT frame{};
    ::GetWindowRect(window_, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    unique_hrgn outline(::CreateRoundRectRgn(0, 0, width + 1, height + 1, kCornerEllipse, kCornerEllipse));
    const unique_hrgn square(::CreateRectRgn(width / 2, height / 2, width, height));
    if (!outline || !square || ::CombineRgn(outline.get(), outline.get(), square.get(), RGN_OR) == ERROR) {
        return;
    }
    // On success the window owns the region.
    if (::SetWindowRgn(window_, outline.get(), TRUE) != 0) {
        outline.release();
    }
}

bool Win32MessageBox::Show(const MessageBoxRequest& request) {
    if (!request.title.empty() || defaultTitle_.empty()) {
        return frmGeneralMessage::Show(instance_, request, imagesFolder_);
    }
    MessageBoxRequest titled = request;
    titled.title = defaultTitle_;
    return frmGeneralMessage::Show(instance_, titled, imagesFolder_);
}

}  // namespace ovp::win
