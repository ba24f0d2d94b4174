#include "win32/shell_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "base/files.h"
#include "base/text.h"
#include "support/temp_dir.h"

namespace ovp::win {
namespace {

// The batch file writes args.txt last.
bool WaitForFile(const std::filesystem::path& file) {
    for (int i = 0; i < 200 && !FileExists(file); ++i) {
        ::Sleep(50);
    }
    ::Sleep(100);  // it may still be writing it
    return FileExists(file);
}

TEST(ShellWinTest, OpensABatchFileHiddenWithItsArgumentsAndWorkingFolder) {
    test::TempDir folder;
    test::TempDir work;
    test::WriteAll(folder / "Probe Service.bat",
                   "@echo off\r\n"
                   "cd > \"%~dp0cwd.txt\"\r\n"
                   "echo %1> \"%~dp0args.txt\"\r\n");
    Win32Shell shell;
    ShellRequest request;
    request.file = folder / "Probe Service.bat";
    request.arguments = "stratservice";
    request.workingFolder = work.Path();
    request.show = ShowMode::Hidden;

    const ShellResult result = shell.Execute(request);
    EXPECT_TRUE(result.Succeeded()) << result.instance;
    EXPECT_EQ(result.errorText, "");

    ASSERT_TRUE(WaitForFile(folder / "args.txt"));
    EXPECT_EQ(TrimWhitespace(test::ReadAll(folder / "args.txt")), "stratservice");
    EXPECT_TRUE(EqualsNoCase(TrimWhitespace(test::ReadAll(folder / "cwd.txt")), Utf8FromPath(work.Path())))
        << test::ReadAll(folder / "cwd.txt");
}

TEST(ShellWinTest, AMissingFileIsAFailureWithTheSystemsReason) {
    test::TempDir folder;
    Win32Shell shell;
    ShellRequest request;
    request.file = folder / "NoSuchLaunchDrive.exe";
    const ShellResult result = shell.Execute(request);
    EXPECT_FALSE(result.Succeeded());
    EXPECT_EQ(result.instance, kShellFileNotFound);
    EXPECT_NE(result.errorNumber, 0u);
    EXPECT_NE(result.errorText, "");

    EXPECT_EQ(shell.Execute(ShellRequest{}).instance, 0);
}

TEST(ShellWinTest, TheOpenWithChooserIsTheSystemFoldersRundll32ByItsFullPath) {
    const ShellRequest request = OpenWithChooserRequest(L"C:\\logs\\Backup 1.txt");
    wchar_t system[MAX_PATH] = {};
    ASSERT_NE(::GetSystemDirectoryW(system, MAX_PATH), 0u);
    EXPECT_EQ(request.file, std::filesystem::path(system) / L"rundll32.exe");
    EXPECT_TRUE(FileExists(request.file));
    EXPECT_EQ(request.arguments, "shell32.dll,OpenAs_RunDLL C:\\logs\\Backup 1.txt");
}

}  // namespace
}  // namespace ovp::win
