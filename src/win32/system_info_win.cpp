#include "win32/system_info_win.h"

#include <windows.h>

#include <string>

#include "win32/text_win.h"

namespace ovp::win {

namespace {

using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);

bool QueryRealVersion(OSVERSIONINFOW& info) {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    if (ntdll == nullptr) {
        return false;
    }
    // Through void(*)() so that the compiler accepts the cast between function types.
    const auto function =
        reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void (*)()>(::GetProcAddress(ntdll, "RtlGetVersion")));
    return function != nullptr && function(&info) == 0;
}

}  // namespace

OsVersion Win32SystemInfo::Version() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!QueryRealVersion(info)) {
        info = {};
        info.dwOSVersionInfoSize = sizeof(info);
        if (!::GetVersionExW(&info)) {
            return {};
        }
    }
    OsVersion version;
    version.nt = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
    version.major = static_cast<int>(info.dwMajorVersion);
    version.minor = static_cast<int>(info.dwMinorVersion);
    version.build = static_cast<int>(info.dwBuildNumber);
    return version;
}

std::string Win32SystemInfo::ProcessUserName() {
    // 257 characters hold the longest user name (UNLEN) and its NUL.
    std::wstring name(257, L'\0');
    DWORD size = static_cast<DWORD>(name.size());
    if (!::GetUserNameW(name.data(), &size) || size == 0) {
        return {};
    }
    name.resize(size - 1);  // size counts the NUL
    return Narrow(name);
}

}  // namespace ovp::win
