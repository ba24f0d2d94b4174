#pragma once
// The program's modeless dialogs: made from their template under an owner that still exists, their
// Tab, Enter and Esc handled by the message loop for as long as the window exists, brought back to
// the front when asked for again, and closed by destroying the window.

#include <windows.h>

#include "win32/message_dispatch.h"
#include "win32/window_base.h"

namespace ovp::win {

template <typename Derived>
class ModelessDialog : public WindowBase<Derived> {
  protected:
    // Makes the dialog from its template, hidden until shown; false when it could not be made or
    // closed itself while loading.
    bool Create(HINSTANCE instance, int templateId, HWND owner = nullptr) {
        if (owner != nullptr && !::IsWindow(owner)) {
            owner = nullptr;
        }
        ::CreateDialogParamW(instance != nullptr ? instance : ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId),
                             owner, &ModelessDialog::Procedure, reinterpret_cast<LPARAM>(static_cast<Derived*>(this)));
        return this->window_ != nullptr;
    }

    // A dialog asked for again: restored from the taskbar, and it (or `front`) comes to the front.
    void BringToFront(HWND front = nullptr) const {
        if (::IsIconic(this->window_)) {
            ::ShowWindow(this->window_, SW_RESTORE);
        }
        ::SetForegroundWindow(front != nullptr ? front : this->window_);
    }

    void Destroy() const {
        if (this->window_ != nullptr) {
            ::DestroyWindow(this->window_);
        }
    }

  private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        if (message == WM_INITDIALOG) {
            RegisterModelessDialog(window);
        } else if (message == WM_NCDESTROY) {
            UnregisterModelessDialog(window);
        }
        return WindowBase<Derived>::DialogProc(window, message, wParam, lParam);
    }
};

}  // namespace ovp::win
