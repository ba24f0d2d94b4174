#pragma once
// The tray icon as a user sees it, observed from outside the monitor: which icon in the
// notification area is the monitor's, its colour as drawn on the screen, and the tooltip that
// appears when the mouse rests on it.
//
// Without a desktop shell Wine shows the notification area as a small top-level window titled
// "Wine System Tray" at the top left of the screen (owned by explorer.exe), with one child window
// per icon. What works there, as measured:
// - the icon's pixels can be read only from the screen DC (GetDC(nullptr) + BitBlt); a DC of the
//   icon window or PrintWindow from another process gives white or black, and a window lying over
//   the tray is what the screen shows, so the tray is raised before reading;
// - every icon has a "tooltips_class32" window of its own in explorer's process; SetCursorPos
//   onto the icon is enough to show it after about half a second, and WM_GETTEXT, which Windows
//   carries across processes, returns its text (GetWindowTextW does not: it does not send the
//   message to another process's window). A hidden tooltip keeps its last text, so only a
//   visible one is read, and it follows a tip changed while it is shown.

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ovp::e2e {

// The tray pictures by their main colour. The two yellow pictures ("ovlogyellow.ico" and the
// badged "ovlogyellowp.ico") share theirs.
enum class IconColour {
    Unknown,  // no picture of ours: the system's default icon, nothing drawn, or hidden
    Normal,   // slate blue
    Yellow,   // scheduled backup running
    Red,      // failure
    Green,    // last backup completed
    CdpBlue1,
    CdpBlue2,
    Quota1,
    Quota2,
};

std::string_view NameOf(IconColour colour);

// ---- Finding the icon -------------------------------------------------------------------------
// The notification area's window; null when there is none (no icon shown yet, or a desktop shell).
HWND TrayWindow();
// The icons' windows.
std::vector<HWND> TrayIconWindows();
// The one icon shown now that was not among `before` (a snapshot taken before the program that
// adds it was started); null when none, or more than one, appeared within the time.
HWND WaitForNewTrayIcon(const std::vector<HWND>& before, std::chrono::milliseconds timeout);

// ---- Its picture --------------------------------------------------------------------------------
// The colour of the picture on the screen now; Unknown when the icon is gone or covered.
IconColour IconColourOf(HWND icon);
// For a failure message: the colour's name, and for an unknown one what was seen instead (the
// window over the icon, or the average of the picture's coloured pixels).
std::string DescribeIcon(HWND icon);
// Polls until the icon shows that colour; true when it did within the time.
bool WaitForIconColour(HWND icon, IconColour colour, std::chrono::milliseconds timeout);

// ---- Texts of other programs' windows ----------------------------------------------------------
// The window's text as WM_GETTEXT gives it, which Windows carries across processes (unlike
// GetWindowTextW for another process's controls); nullopt when the window does not answer.
std::optional<std::wstring> SentWindowText(HWND window);

// ---- Its tooltip --------------------------------------------------------------------------------
// Rests the mouse on the icon until its tooltip shows, reads the text, and takes the mouse away
// again; nullopt when no tooltip appeared.
std::optional<std::wstring> HoverTooltip(HWND icon);
// Polls (hovering again each time) until the tooltip reads exactly `text`; the last text read is
// left in `last` for the failure message.
bool WaitForTooltip(HWND icon, std::wstring_view text, std::chrono::milliseconds timeout, std::wstring* last = nullptr);

}  // namespace ovp::e2e
