#include "win32/report_system_win.h"

#include <shlobj.h>
#include <windows.h>

#include <cwchar>
#include <vector>

#include "win32/text_win.h"

namespace ovp::win {

namespace {

std::string LocaleText(LCID locale, LCTYPE type) {
    wchar_t text[128] = {};
    const int length = ::GetLocaleInfoW(locale, type, text, static_cast<int>(std::size(text)));
    return length > 1 ? Narrow(std::wstring_view(text, static_cast<std::size_t>(length - 1))) : std::string();
}

}  // namespace

bool Win32ReportSystem::Is64BitSystem() {
#if defined(_WIN64)
    return true;
#else
    BOOL wow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &wow64) != FALSE && wow64 != FALSE;
#endif
}

std::string Win32ReportSystem::SystemValue(std::string_view key, std::string_view name) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(key).c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &opened) !=
        ERROR_SUCCESS) {
        return {};
    }
    wchar_t text[256] = {};
    DWORD bytes = sizeof(text) - sizeof(wchar_t);
    DWORD type = 0;
    const LSTATUS status =
        ::RegQueryValueExW(opened, Wide(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text), &bytes);
    ::RegCloseKey(opened);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return {};
    }
    return Narrow(std::wstring_view(text, bytes / sizeof(wchar_t)).substr(0, std::wcslen(text)));
}

std::string Win32ReportSystem::FileVersion(const std::filesystem::path& file) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) {
        return {};
    }
    std::vector<unsigned char> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (::GetFileVersionInfoW(file.c_str(), 0, size, data.data()) == FALSE ||
        ::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) == FALSE || info == nullptr ||
        infoSize < sizeof(VS_FIXEDFILEINFO)) {
        return {};
    }
    return std::to_string(HIWORD(info->dwFileVersionMS)) + "." + std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(info->dwFileVersionLS)) + "." + std::to_string(LOWORD(info->dwFileVersionLS));
}

LocaleDetails Win32ReportSystem::Locale(LocaleKind kind) {
    const LCID locale = kind == LocaleKind::Regional ? ::GetUserDefaultLCID() : ::GetSystemDefaultLCID();
    LocaleDetails details;
    details.localeId = std::to_string(locale);
    details.country = LocaleText(locale, LOCALE_SENGCOUNTRY);
    details.countryAbbreviation = LocaleText(locale, LOCALE_SABBREVCTRYNAME);
    details.language = LocaleText(locale, LOCALE_SLANGUAGE);
    details.timeFormat = LocaleText(locale, LOCALE_STIMEFORMAT);
    details.shortDate = LocaleText(locale, LOCALE_SSHORTDATE);
    return details;
}

std::filesystem::path Win32ReportSystem::CommonAppDataFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
        return {};
    }
    return std::filesystem::path(folder);
}

}  // namespace ovp::win
