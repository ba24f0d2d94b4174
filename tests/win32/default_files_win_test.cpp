// A first run on the real platform: the Windows profile store (the profile file deleted and
// written again), the stand-in companion library in the application folder and the shell's own
// folders. What the first run decides is the unit tests'.
#include "defaults/default_files.h"

#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include "base/files.h"
#include "platform/std_random.h"
#include "scheduler/schedule_file.h"
#include "settings/obscure.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "win32/clock_win.h"
#include "win32/code_page_win.h"
#include "win32/mail_paths_win.h"
#include "win32/profile_store_win.h"
#include "win32/shell_folders_win.h"
#include "win32/system_info_win.h"
#include "win32/text_win.h"

namespace ovp::win {
namespace {

std::string ShellFolder(int csidl) {
    wchar_t buffer[MAX_PATH + 1] = {};
    return SUCCEEDED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer)) ? Narrow(buffer) : "";
}

TEST(DefaultFilesWinTest, AFirstRunPreparesTheFolderOnce) {
    test::TempDir app;
    const std::string built = OVP_GETMAILPATHS_DLL;
    ASSERT_TRUE(CopyFileOverwrite(PathFromUtf8(built.starts_with('/') ? "Z:" + built : built).make_preferred(),
                                  app / "GetMailPaths.dll"));
    const Folders folders(app.Path(), "Orvessa Professional");
    const std::filesystem::path user = folders.UserFolder("alice");
    const std::filesystem::path profile = folders.ProfileFile("alice");

    Win32ProfileStore store;
    Win32CodePage codePage;
    Win32Clock clock;
    StdRandom random(1);
    Win32SystemInfo system;
    Win32MailPaths mail(app.Path());
    Win32ShellFolders shell;
    test::FakeTraceSink trace;
    ScheduleCreateFiles form(folders, {store, codePage, clock, random, system, mail, shell, trace});
    ASSERT_TRUE(store.Write(folders.UserNameFile(), "Orvessa", "Interactive", "alice"));
    ASSERT_TRUE(CreateFolders(user));
    ASSERT_TRUE(store.Write(profile, "Orvessa", Obscure("FirstUser"), Obscure("TRUE")));
    ASSERT_TRUE(store.Write(profile, "Proxy", Obscure("ProxyName"), Obscure("proxy.example.com")));

    ASSERT_TRUE(form.Form_Load());

    const std::string documents = ShellFolder(CSIDL_PERSONAL) + "\\";
    const std::string desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\";
    EXPECT_EQ(store.Read(user / "SimpleAutoPath.ini", "AUTOFILEPATHS", "DesktopPath"), desktop);
    EXPECT_TRUE(test::ReadAll(user / "atbkupfolderlist.txt").starts_with(documents + "\r\n" + desktop + "\r\n"));
    EXPECT_EQ(CountRecords(user / "scheduleData.txt"), 1u);
    EXPECT_EQ(Unobscure(store.Read(profile, "Proxy", Obscure("ProxyName"))), "proxy.example.com");
    EXPECT_FALSE(form.Form_Load());  // FirstUser went with the profile file
}

}  // namespace
}  // namespace ovp::win
