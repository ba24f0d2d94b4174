#include "win32/shell_folders_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "base/files.h"
#include "support/temp_dir.h"

namespace ovp::win {
namespace {

namespace fs = std::filesystem;

TEST(ShellFoldersWinTest, SystemFoldersAreRealFolders) {
    Win32ShellFolders shell;
    EXPECT_TRUE(FolderExists(PathFromUtf8(shell.WindowsFolder()))) << shell.WindowsFolder();
    for (const int csidl : {kCsidlInternetCache, kCsidlCookies, kCsidlCommonFavorites}) {
        const std::string folder = shell.SpecialFolder(csidl);
        EXPECT_FALSE(folder.empty()) << csidl;
        EXPECT_EQ(folder.find('\0'), std::string::npos);
    }
    EXPECT_EQ(shell.SpecialFolder(0x7F), "");
}

TEST(ShellFoldersWinTest, TheTemporaryFolderComesInItsLongForm) {
    test::TempDir dir;
    const fs::path longFolder = dir / "A Folder With A Long Name";
    ASSERT_TRUE(CreateFolders(longFolder));
    wchar_t shortForm[MAX_PATH + 1] = {};
    ASSERT_GT(::GetShortPathNameW(longFolder.c_str(), shortForm, MAX_PATH + 1), 0u);
    ASSERT_NE(fs::path(shortForm).filename(), longFolder.filename()) << "no short names on this volume";

    wchar_t previous[32768] = {};
    const bool had = ::GetEnvironmentVariableW(L"TMP", previous, 32768) > 0;
    ::SetEnvironmentVariableW(L"TMP", shortForm);
    const std::string temp = Win32ShellFolders().TempFolder();
    ::SetEnvironmentVariableW(L"TMP", had ? previous : nullptr);

    EXPECT_EQ(PathFromUtf8(temp), longFolder.lexically_normal().make_preferred() / "") << temp;
}

}  // namespace
}  // namespace ovp::win
