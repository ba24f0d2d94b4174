// The adapter that loads the mail-paths library from the application folder only, here with the
// stand-in library as built.
#include "win32/mail_paths_win.h"

#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/files.h"
#include "contract/engine_contract.h"
#include "support/temp_dir.h"
#include "win32/text_win.h"

namespace ovp::win {
namespace {

namespace fs = std::filesystem;

#ifdef OVP_GETMAILPATHS_DLL

// The build names the library by its Linux path under Wine, where drive Z: is the root.
fs::path BuiltLibrary() {
    std::string path = OVP_GETMAILPATHS_DLL;
    if (path.starts_with('/')) {
        path = "Z:" + path;
    }
    return PathFromUtf8(path).make_preferred();
}

std::wstring ReadKey(const fs::path& ini, std::string_view key) {
    wchar_t buffer[1024] = {};
    ::GetPrivateProfileStringW(L"AUTOFILEPATHS", Wide(key).c_str(), L"<missing>", buffer, 1024, ini.c_str());
    return buffer;
}

std::vector<std::wstring> KeysOf(const fs::path& ini) {
    std::wstring buffer(8192, L'\0');
    const DWORD length = ::GetPrivateProfileStringW(L"AUTOFILEPATHS", nullptr, L"", buffer.data(), 8192, ini.c_str());
    std::vector<std::wstring> keys;
    for (std::size_t at = 0; at < length;) {
        const std::wstring key(buffer.c_str() + at);
        keys.push_back(key);
        at += key.size() + 1;
    }
    return keys;
}

std::wstring ShellFolder(int csidl) {
    wchar_t buffer[MAX_PATH + 1] = {};
    return SUCCEEDED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer)) ? buffer : L"";
}

TEST(MailPathsWinTest, EveryFunctionOfTheApplicationFoldersLibraryWritesItsOwnKeyAndNothingElse) {
    test::TempDir dir;
    const fs::path ini = dir / "SimpleAutoPath.ini";
    Win32MailPaths beside(BuiltLibrary().parent_path());
    std::vector<std::wstring> expectedKeys;
    for (const auto& entry : contract::kAutoPathEntries) {
        EXPECT_TRUE(beside.Detect(entry.function, ini)) << entry.function;
        expectedKeys.push_back(Wide(entry.key));
        EXPECT_EQ(KeysOf(ini), expectedKeys) << entry.function;
    }
    EXPECT_FALSE(ReadKey(ini, "DesktopPath").empty());
    EXPECT_EQ(ReadKey(ini, "DesktopPath"), ShellFolder(CSIDL_DESKTOPDIRECTORY));
    EXPECT_EQ(ReadKey(ini, "MyDocumentsPath"), ShellFolder(CSIDL_PERSONAL));
    EXPECT_EQ(ReadKey(ini, "MyFavouritesPath"), ShellFolder(CSIDL_FAVORITES));
    EXPECT_FALSE(beside.Detect("GetNoSuchPath", ini));

    // An application folder without the library: no path, even when the library lies in the
    // current folder, where a search would find it.
    const fs::path emptyApp = dir / "app";
    ASSERT_TRUE(CreateFolders(emptyApp));
    wchar_t previous[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryW(MAX_PATH + 1, previous);
    ASSERT_TRUE(::SetCurrentDirectoryW(BuiltLibrary().parent_path().c_str()));
    const fs::path otherIni = dir / "Other.ini";
    EXPECT_FALSE(Win32MailPaths(emptyApp).Detect("GetDesktopPath", otherIni));
    ::SetCurrentDirectoryW(previous);
    EXPECT_FALSE(FileExists(otherIni));
}

#else

TEST(MailPathsWinTest, TheStandInLibraryWasNotBuilt) {
    GTEST_SKIP() << "OVP_GETMAILPATHS_DLL is not defined";
}

#endif

}  // namespace
}  // namespace ovp::win
