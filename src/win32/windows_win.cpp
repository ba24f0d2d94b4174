#include "win32/windows_win.h"

#include <windows.h>

#include <string>

#include "win32/text_win.h"

namespace ovp::win {

namespace {

// A window of another program that does not answer within this is given up on: the caller may be
// handling the end of the logon session, which Windows allows only a few seconds.
constexpr UINT kSendTimeoutMs = 5000;

HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

}  // namespace

WindowHandle Win32Windows::FindTopLevel(std::string_view className, std::string_view title) {
    const std::wstring wideClass = Wide(className);
    const std::wstring wideTitle = Wide(title);
    const HWND found =
        ::FindWindowW(className.empty() ? nullptr : wideClass.c_str(), title.empty() ? nullptr : wideTitle.c_str());
    return reinterpret_cast<WindowHandle>(found);
}

bool Win32Windows::Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (window == 0) {
        return false;
    }
    return ::PostMessageW(ToHwnd(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)) != FALSE;
}

bool Win32Windows::Send(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (window == 0) {
        return false;
    }
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(ToHwnd(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam),
                                 SMTO_ABORTIFHUNG | SMTO_NORMAL, kSendTimeoutMs, &result) != 0;
}

}  // namespace ovp::win
