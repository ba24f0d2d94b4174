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

WindowHandle Win32Windows::FindTopLevelFramed(std::string_view prefix, std::string_view suffix) {
    struct Search {
        std::wstring prefix;
        std::wstring suffix;
        HWND found = nullptr;
    } search{Wide(prefix), Wide(suffix)};
    ::EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(parameter);
            if (!::IsWindowVisible(window)) {
                return TRUE;
            }
            const int length = ::GetWindowTextLengthW(window);
            if (length <= 0 || static_cast<std::size_t>(length) < s.prefix.size() + s.suffix.size()) {
                return TRUE;
            }
            std::wstring title(static_cast<std::size_t>(length) + 1, L'\0');
            title.resize(static_cast<std::size_t>(::GetWindowTextW(window, title.data(), length + 1)));
            if (title.size() >= s.prefix.size() + s.suffix.size() && title.starts_with(s.prefix) &&
                title.ends_with(s.suffix)) {
                s.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return reinterpret_cast<WindowHandle>(search.found);
}

bool Win32Windows::BringToFront(WindowHandle window) {
    const HWND hwnd = ToHwnd(window);
    if (hwnd == nullptr || !::IsWindow(hwnd)) {
        return false;
    }
    if (::IsIconic(hwnd)) {
        ::ShowWindow(hwnd, SW_RESTORE);
    }
    return ::SetForegroundWindow(hwnd) != FALSE;
}

}  // namespace ovp::win
