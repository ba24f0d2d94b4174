// The adapter that loads the mail-paths library from the application folder only, here with the
// stand-in library as built.
#include "win32/mail_paths_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "base/files.h"
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

// The library's own behaviour is the stand-in's; what is the adapter's: the call reaches the
// library beside the program, an unknown function is a failure, and no other folder is searched.
TEST(MailPathsWinTest, OnlyTheLibraryInTheApplicationFolderIsCalled) {
    test::TempDir dir;
    const fs::path ini = dir / "SimpleAutoPath.ini";
    Win32MailPaths beside(BuiltLibrary().parent_path());
    EXPECT_TRUE(beside.Detect("GetDesktopPath", ini));
    EXPECT_TRUE(FileExists(ini));
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
