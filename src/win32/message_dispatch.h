#pragma once
// The program's one way of handing on a message taken from the thread's queue. Modeless dialogs
// get it first, for their keyboard navigation (Tab, Enter, Esc), then it is translated and
// dispatched. The main loop and every loop that pumps while it waits use it, so a dialog keeps
// its keys however deep the wait that runs its messages.

#include <windows.h>

#include <optional>

namespace ovp::win {

void DispatchWindowMessage(MSG& message);

// Dispatches what is queued now. A WM_QUIT among it is taken out and its exit code given back, so
// that the waiting loop can post it again once it has finished waiting.
std::optional<int> DispatchPendingMessages();

// A modeless dialog of this thread is registered while its window exists (from WM_INITDIALOG to
// WM_NCDESTROY); registering twice or removing an unknown window does nothing.
void RegisterModelessDialog(HWND dialog) noexcept;
void UnregisterModelessDialog(HWND dialog) noexcept;

}  // namespace ovp::win
