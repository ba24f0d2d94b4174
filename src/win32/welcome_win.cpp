#include "win32/welcome_win.h"

#include "win32/dialog_controls.h"
#include "win32/failure_notification_win.h"
#include "win32/general_message_win.h"
#include "win32/message_dispatch.h"
#include "win32/notify_dialog_ids.h"
#include "win32/text_win.h"

namespace ovp::win {

namespace {

constexpr UINT_PTR kFadeTimerId = 1;
constexpr COLORREF kExitTextColour = RGB(0, 0, 0);

}  // namespace

WelcomeView::WelcomeView(ITraceSink& trace, HINSTANCE instance) : form_(trace), instance_(instance) {}

WelcomeView::~WelcomeView() {
    Close();
}

void WelcomeView::Show(const WebAlert& alert) {
    if (window_ == nullptr && !Create(instance_, IDD_frmWelcome)) {
        return;
    }
    ::SetWindowTextW(window_, Wide(alert.caption).c_str());
    SetControlText(window_, IDC_lblWelcome, alert.text);
    SetButtonText(window_, IDC_cmdWelcomeExit, alert.closeCaption);
    MakeLayered(window_, form_.Form_Load());
    PlaceInWorkAreaCorner(window_);
    ::ShowWindow(window_, SW_SHOWNOACTIVATE);
    fading_ = ::SetTimer(window_, kFadeTimerId, fadeMs_, nullptr) != 0;
}

void WelcomeView::OnFadeTick() {
    const frmWelcome::Fade fade = form_.Timer1_Timer();
    ::SetLayeredWindowAttributes(window_, 0, fade.opacity, LWA_ALPHA);
    if (!fade.goOn) {
        ::KillTimer(window_, kFadeTimerId);
        fading_ = false;
    }
}

INT_PTR WelcomeView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            RoundCorners(window_);
            exitButton_.Attach(::GetDlgItem(window_, IDC_cmdWelcomeExit), imagesFolder_, kSmallButtonPictures,
                               kExitTextColour);
            return TRUE;
        case WM_DRAWITEM:
            return exitButton_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
        case WM_TIMER:
            if (wParam == kFadeTimerId) {
                OnFadeTick();
            }
            return TRUE;
        case WM_NCHITTEST:
            // The text lets the mouse through to the window: dragging it moves the window.
            ::SetWindowLongPtrW(window_, DWLP_MSGRESULT, HTCAPTION);
            return TRUE;
        case WM_COMMAND:
            if ((LOWORD(wParam) == IDC_cmdWelcomeExit || LOWORD(wParam) == IDCANCEL) && HIWORD(wParam) == BN_CLICKED) {
                form_.Form_Unload();
                Close();
            }
            return TRUE;
        case WM_CLOSE:
            form_.Form_Unload();
            Close();
            return TRUE;
        default:
            return FALSE;
    }
}

void WelcomeView::OnWindowGone(HWND /*window*/) noexcept {
    fading_ = false;
}

}  // namespace ovp::win
