// Stand-in for the mail-paths companion library: test equipment, not product. Each function
// records one folder under its key in section AUTOFILEPATHS of the given ini file: the shell's
// known folders as the shell names them, and the usual per-user data folders of the mail programs
// only when they exist ("" otherwise).
#include <windows.h>

#include <shlobj.h>

#include <string>
#include <string_view>

#include "contract/engine_contract.h"
#include "win32/mail_paths_abi.h"

namespace {

namespace contract = ovp::contract;

constexpr DWORD kMaxChars = 32768;

std::wstring WideAscii(std::string_view text) {
    return std::wstring(text.begin(), text.end());
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::wstring ShellFolder(int csidl) {
    wchar_t buffer[MAX_PATH + 1] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer))) {
        return {};
    }
    return buffer;
}

// pattern starts with a per-user environment folder (%APPDATA%, %LOCALAPPDATA%); "" unless the
// variable is set and the folder exists.
std::wstring ExistingUserFolder(const wchar_t* pattern) {
    std::wstring buffer(kMaxChars, L'\0');
    const DWORD length = ::ExpandEnvironmentStringsW(pattern, buffer.data(), kMaxChars);
    if (length == 0 || length > kMaxChars) {
        return {};
    }
    buffer.resize(length - 1);
    // An unset variable stays as its "%NAME%" text.
    if (buffer.find(L'%') != std::wstring::npos || !IsFolder(buffer)) {
        return {};
    }
    return buffer;
}

BOOL Record(const wchar_t* iniPath, std::string_view key, const std::wstring& folder) {
    if (iniPath == nullptr || *iniPath == L'\0') {
        return FALSE;
    }
    const std::wstring section = WideAscii(contract::kAutoFilePathsSection);
    return ::WritePrivateProfileStringW(section.c_str(), WideAscii(key).c_str(), folder.c_str(), iniPath);
}

}  // namespace

extern "C" {

BOOL WINAPI GetAutoOutlkExpPath(const wchar_t* iniPath) {
    return Record(iniPath, contract::kOutlookExpPath, ExistingUserFolder(L"%LOCALAPPDATA%\\Identities"));
}

BOOL WINAPI GetAutoMSOutlkPath(const wchar_t* iniPath) {
    return Record(iniPath, contract::kMSOutlkPath, ExistingUserFolder(L"%LOCALAPPDATA%\\Microsoft\\Outlook"));
}

BOOL WINAPI GetYahooPath(const wchar_t* iniPath) {
    return Record(iniPath, contract::kYahooPath, ExistingUserFolder(L"%LOCALAPPDATA%\\Yahoo!"));
}

BOOL WINAPI GetMSNPath(const wchar_t* iniPath) {
    return Record(iniPath, contract::kMSNPath, ExistingUserFolder(L"%LOCALAPPDATA%\\Microsoft\\Windows Live Mail"));
}

BOOL WINAPI GetDesktopPath(const wchar_t* iniPath) {
    return Record(iniPath, contract::kDesktopPath, ShellFolder(CSIDL_DESKTOPDIRECTORY));
}

BOOL WINAPI GetMyDocumentsPath(const wchar_t* iniPath) {
    return Record(iniPath, contract::kMyDocumentsPath, ShellFolder(CSIDL_PERSONAL));
}

BOOL WINAPI GetMyMusicPath(const wchar_t* iniPath) {
    return Record(iniPath, contract::kMyMusicPath, ShellFolder(CSIDL_MYMUSIC));
}

BOOL WINAPI GetMyPicturesPath(const wchar_t* iniPath) {
    return Record(iniPath, contract::kMyPicturesPath, ShellFolder(CSIDL_MYPICTURES));
}

BOOL WINAPI GetMyVideosPath(const wchar_t* iniPath) {
    return Record(iniPath, contract::kMyVideosPath, ShellFolder(CSIDL_MYVIDEO));
}

BOOL WINAPI GetMyFavouritesPath(const wchar_t* iniPath) {
    return Record(iniPath, contract::kMyFavouritesPath, ShellFolder(CSIDL_FAVORITES));
}

BOOL WINAPI GetOutlkExpAddrBookPath(const wchar_t* iniPath) {
    return Record(iniPath, contract::kOutlkExpAddrBookPath, ExistingUserFolder(L"%APPDATA%\\Microsoft\\Address Book"));
}

BOOL WINAPI GetMozillaPath(const wchar_t* iniPath) {
    return Record(iniPath, contract::kMozillaPath, ExistingUserFolder(L"%APPDATA%\\Thunderbird\\Profiles"));
}

}  // extern "C"

// Every export has the shape the monitor calls.
[[maybe_unused]] constexpr ovp::win::MailPathFunction kExports[] = {
    &GetAutoOutlkExpPath,     &GetAutoMSOutlkPath, &GetYahooPath,      &GetMSNPath,      &GetDesktopPath,
    &GetMyDocumentsPath,      &GetMyMusicPath,     &GetMyPicturesPath, &GetMyVideosPath, &GetMyFavouritesPath,
    &GetOutlkExpAddrBookPath, &GetMozillaPath,
};
static_assert(std::size(kExports) == ovp::contract::kAutoPathEntries.size());
