#include "win32/windows_win.h"

#include <windows.h>

#include <string>

#include "win32/text_win.h"

namespace ovp::win {

namespace {

// The engine's hidden window is a dialog: it has the system's dialog class.
constexpr wchar_t kDialogClass[] = L"#32770";
// What the engine's hidden dialog takes as the end of the logon session.
constexpr UINT kEngineSessionEndMessage = 0x40A;
// A window of another program that does not answer within this is given up on: the caller may be
// handling the end of the logon session, which Windows allows only a few seconds.
constexpr UINT kSendTimeoutMs = 5000;

HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

WindowHandle Find(const wchar_t* className, std::string_view title) {
    const std::wstring wideTitle = Wide(title);
    return reinterpret_cast<WindowHandle>(::FindWindowW(className, wideTitle.c_str()));
}

}  // namespace

WindowHandle Win32Windows::FindEngineHiddenDialog(std::string_view title) {
    return Find(kDialogClass, title);
}

bool Win32Windows::PostSessionEnd(WindowHandle hiddenDialog) {
    return hiddenDialog != 0 && ::PostMessageW(ToHwnd(hiddenDialog), kEngineSessionEndMessage, 0, 0) != FALSE;
}

WindowHandle Win32Windows::FindTopLevel(std::string_view title) {
    return Find(nullptr, title);
}

bool Win32Windows::Close(WindowHandle window) {
    if (window == 0) {
        return false;
    }
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(ToHwnd(window), WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL, kSendTimeoutMs,
                                 &result) != 0;
}

}  // namespace ovp::win
