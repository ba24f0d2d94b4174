// The adapter that loads the mail-paths library from the application folder only, here with the
// stand-in library as built. The library's own behaviour is the stand-in's; what is the adapter's:
// the call reaches the library beside the program, an unknown function is a failure, and no other
// folder is searched.
#include "win32/mail_paths_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "base/files.h"
#include "support/temp_dir.h"

namespace ovp::win {
namespace {

namespace fs = std::filesystem;

TEST(MailPathsWinTest, OnlyTheLibraryInTheApplicationFolderIsCalled) {
    // The build names the library by its Linux path; under Wine, drive Z: is the root.
    const std::string built = OVP_GETMAILPATHS_DLL;
    const fs::path library = PathFromUtf8(built.starts_with('/') ? "Z:" + built : built).make_preferred();
    test::TempDir dir;
    const fs::path ini = dir / "SimpleAutoPath.ini";
    Win32MailPaths beside(library.parent_path());
    EXPECT_TRUE(beside.Detect("GetDesktopPath", ini));
    EXPECT_TRUE(FileExists(ini));
    EXPECT_FALSE(beside.Detect("GetNoSuchPath", ini));

    // Not even from the current folder, where a search would find it.
    const fs::path emptyApp = dir / "app";
    ASSERT_TRUE(CreateFolders(emptyApp));
    wchar_t previous[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryW(MAX_PATH + 1, previous);
    ASSERT_TRUE(::SetCurrentDirectoryW(library.parent_path().c_str()));
    EXPECT_FALSE(Win32MailPaths(emptyApp).Detect("GetDesktopPath", dir / "Other.ini"));
    ::SetCurrentDirectoryW(previous);
    EXPECT_FALSE(FileExists(dir / "Other.ini"));
}

}  // namespace
}  // namespace ovp::win
