#include "win32/system_info_win.h"

#include <windows.h>

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

}  // namespace ovp::win
