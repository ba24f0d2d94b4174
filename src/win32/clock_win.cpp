#include "win32/clock_win.h"

#include <windows.h>

#include <optional>

#include "win32/message_dispatch.h"

namespace ovp::win {

DateTime Win32Clock::Now() {
    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

std::uint64_t Win32Clock::TickMs() {
    return ::GetTickCount64();
}

void Win32Clock::Sleep(std::uint32_t ms) {
    ::Sleep(ms);
}

void Win32Clock::WaitPumping(std::uint32_t ms) {
    const ULONGLONG deadline = ::GetTickCount64() + ms;
    std::optional<int> quitCode;
    for (;;) {
        // Re-posting at once would hand the WM_QUIT straight back to the next peek.
        if (const auto code = DispatchPendingMessages()) {
            quitCode = code;
        }
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) {
            break;
        }
        ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(deadline - now), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    if (quitCode) {
        ::PostQuitMessage(*quitCode);
    }
}

}  // namespace ovp::win
