#include "win32/message_dispatch.h"

#include <algorithm>
#include <vector>

namespace ovp::win {

namespace {

// Windows belong to the thread that made them, and so does their list.
std::vector<HWND>& ModelessDialogs() {
    thread_local std::vector<HWND> dialogs;
    return dialogs;
}

}  // namespace

void DispatchWindowMessage(MSG& message) {
    // By index: a dialog that closes on this very key leaves the list while it handles it.
    const std::vector<HWND>& dialogs = ModelessDialogs();
    for (std::size_t i = 0; i < dialogs.size(); ++i) {
        const HWND dialog = dialogs[i];
        if (::IsWindow(dialog) && ::IsDialogMessageW(dialog, &message)) {
            return;
        }
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

std::optional<int> DispatchPendingMessages() {
    std::optional<int> quitCode;
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitCode = static_cast<int>(message.wParam);
            continue;
        }
        DispatchWindowMessage(message);
    }
    return quitCode;
}

void RegisterModelessDialog(HWND dialog) noexcept {
    try {
        std::vector<HWND>& dialogs = ModelessDialogs();
        if (dialog != nullptr && std::find(dialogs.begin(), dialogs.end(), dialog) == dialogs.end()) {
            dialogs.push_back(dialog);
        }
    } catch (...) {
        // Without memory for one handle the dialog only loses its keys.
    }
}

void UnregisterModelessDialog(HWND dialog) noexcept {
    std::vector<HWND>& dialogs = ModelessDialogs();
    dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), dialog), dialogs.end());
}

}  // namespace ovp::win
