// Test setup, run by ctest before the window tests: under Wine, keeps the named test programs'
// windows away from the window manager.
//
// The test display has no window manager. Wine hands every activated or captioned window to the
// window manager and, when such a window is hidden or destroyed, waits two seconds for an answer
// that never comes: a thousand status windows would take over half an hour. Wine's per-program
// setting "Managed" = "N" (HKCU\Software\Wine\AppDefaults\<program>\X11 Driver) avoids that. Wine
// reads it when a program starts, so it is written here, before the test program runs, and only
// for the programs named on the command line, in the project's own test prefix. On Windows, which
// has no such key and no such wait, this does nothing.

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

bool UnderWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool KeepUnmanaged(const std::wstring& program) {
    const std::wstring key = L"Software\\Wine\\AppDefaults\\" + program + L"\\X11 Driver";
    HKEY handle = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    const wchar_t value[] = L"N";
    const bool written = ::RegSetValueExW(handle, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                          sizeof(value)) == ERROR_SUCCESS;
    ::RegCloseKey(handle);
    return written;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (!UnderWine()) {
        std::puts("not under Wine: nothing to set up");
        return 0;
    }
    for (int i = 1; i < argc; ++i) {
        if (!KeepUnmanaged(argv[i])) {
            std::fprintf(stderr, "cannot write the Wine setting for %ls\n", argv[i]);
            return 1;
        }
        std::printf("windows of %ls are kept unmanaged\n", argv[i]);
    }
    return 0;
}
