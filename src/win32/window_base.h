#pragma once
// The one base of the program's windows and dialogs (CRTP). The object is found from its window
// through GWLP_USERDATA, set at the first message that carries it (WM_NCCREATE of a window,
// WM_INITDIALOG of a dialog) and cleared at WM_NCDESTROY, where the object is told that its
// window has gone. No exception leaves the procedure.
//
// Derived (a friend of its base) provides `OnMessage(UINT, WPARAM, LPARAM)`, returning LRESULT
// for a window and INT_PTR for a dialog, and may hide the hooks below. A window is created with
// WindowProc as its class procedure and `this` as the creation parameter; a dialog with
// DialogProc and `this` as the initialisation parameter.

#include <windows.h>

namespace ovp::win {

template <typename Derived>
class WindowBase {
  public:
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    // nullptr before the window is made and after it has gone.
    HWND Window() const { return window_; }

    // The object of a window made through this base; nullptr before its first message and after
    // it has gone.
    static Derived* FromWindow(HWND window) {
        return reinterpret_cast<Derived*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    }

  protected:
    WindowBase() = default;
    ~WindowBase() = default;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        if (message == WM_NCCREATE) {
            Attach(window, static_cast<Derived*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams));
        }
        Derived* self = FromWindow(window);
        if (self == nullptr) {
            return ::DefWindowProcW(window, message, wParam, lParam);
        }
        if (message == WM_NCDESTROY) {
            Detach(window, *self);
            return ::DefWindowProcW(window, message, wParam, lParam);
        }
        try {
            return self->OnMessage(message, wParam, lParam);
        } catch (...) {
            return ::DefWindowProcW(window, message, wParam, lParam);
        }
    }

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        if (message == WM_INITDIALOG) {
            Attach(window, reinterpret_cast<Derived*>(lParam));
        }
        Derived* self = FromWindow(window);
        if (self == nullptr) {
            return FALSE;
        }
        if (message == WM_NCDESTROY) {
            Detach(window, *self);
            return FALSE;
        }
        try {
            return self->OnMessage(message, wParam, lParam);
        } catch (...) {
            return self->OnDialogMessageFailed();
        }
    }

    // ---- Hooks that Derived may hide ----
    // The window has gone (WM_NCDESTROY): Window() is nullptr already; `window` is the handle it had.
    void OnWindowGone(HWND /*window*/) noexcept {}
    // A dialog's handler threw: what the dialog procedure answers instead.
    INT_PTR OnDialogMessageFailed() noexcept { return FALSE; }

    HWND window_ = nullptr;

  private:
    static void Attach(HWND window, Derived* self) noexcept {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        if (self != nullptr) {
            self->window_ = window;
        }
    }

    static void Detach(HWND window, Derived& self) noexcept {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self.window_ = nullptr;
        self.OnWindowGone(window);
    }
};

}  // namespace ovp::win
