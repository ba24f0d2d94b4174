#include "defaults/default_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "base/files.h"
#include "base/text.h"
#include "contract/engine_contract.h"
#include "settings/obscure.h"
#include "support/fake_code_page.h"
#include "support/fake_random.h"
#include "support/fake_shell.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace ovp {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::WriteAll;

// Private-profile values that live only as long as their file does, as with the real store: the
// first run deletes the profile file, and what it writes there afterwards is all that is left.
class DiskBoundStore : public IProfileStore {
  public:
    std::string Read(const fs::path& file, std::string_view section, std::string_view key) override {
        return FileExists(file) ? Of(file).Read(file, section, key) : std::string();
    }
    bool Write(const fs::path& file, std::string_view section, std::string_view key, std::string_view value) override {
        if (!FileExists(file)) {
            files_.erase(file.string());
            WriteAll(file, "");
        }
        return Of(file).Write(file, section, key, value);
    }
    std::map<std::string, std::string> Dump(const fs::path& file) { return Of(file).Dump(file); }

  private:
    test::FakeProfileStore& Of(const fs::path& file) { return files_[file.string()]; }
    std::map<std::string, test::FakeProfileStore> files_;
};

constexpr std::string_view kUser = "alice";

class DefaultFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        store_.Write(folders_.UserNameFile(), "Orvessa", "Interactive", kUser);
        CreateFolders(UserFolder());
        SetFirstUser("TRUE");
        mail_.folders = {
            {"DesktopPath", "C:\\Users\\alice\\Desktop"},     {"MyDocumentsPath", "C:\\Users\\alice\\Documents\\"},
            {"MyMusicPath", "  C:\\Users\\alice\\Music  "},   {"MyVideosPath", "C:\\Users\\alice\\Videos"},
            {"MyPicturesPath", "C:\\Users\\alice\\Pictures"},
        };
        shell_.windows = "C:\\Windows";
        shell_.temp = "C:\\Users\\alice\\AppData\\Local\\Temp\\";
        shell_.special = {{32, "C:\\Users\\alice\\INetCache"},
                          {33, "C:\\Users\\alice\\INetCookies"},
                          {31, "C:\\Users\\Public\\Favorites"}};
    }

    fs::path UserFolder() const { return folders_.UserFolder(kUser); }
    fs::path File(std::string_view name) const { return UserFolder() / PathFromUtf8(name); }
    void SetFirstUser(std::string_view value) {
        store_.Write(folders_.ProfileFile(kUser), "Orvessa", Obscure("FirstUser"), Obscure(value));
    }
    std::map<std::string, std::string> AutoPaths() { return store_.Dump(File("SimpleAutoPath.ini")); }

    test::TempDir dir_;
    Folders folders_{dir_.Path(), "Orvessa Professional"};
    DiskBoundStore store_;
    test::FakeCodePage codePage_;
    test::FakeClock clock_{DateTime{2026, 3, 14, 9, 30, 0}};
    // Draws 3: 3 AM tomorrow.
    test::ScriptedRandom random_{test::ScriptedRandom::Bucket(2, 12)};
    test::FakeSystemInfo system_;
    test::FakeMailPaths mail_{store_};
    test::FakeShellFolders shell_;
    test::FakeTraceSink trace_;
    ScheduleCreateFiles form_{folders_, {store_, codePage_, clock_, random_, system_, mail_, shell_, trace_}};
};

TEST_F(DefaultFilesTest, OnlyFirstUserTrueOfAUsableInteractiveUserStartsThePreparation) {
    WriteAll(File("DLLInput.txt"), "keep");
    for (const std::string_view value : {"", "true", " TRUE"}) {
        SetFirstUser(value);
        EXPECT_FALSE(form_.Form_Load()) << value;
    }
    SetFirstUser("TRUE");
    for (const std::string_view user : {"", "..\\bob"}) {
        store_.Write(folders_.UserNameFile(), "Orvessa", "Interactive", user);
        EXPECT_FALSE(form_.Form_Load()) << user;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(UserFolder()), fs::directory_iterator()), 2);  // + the profile
    EXPECT_EQ(ReadAll(File("DLLInput.txt")), "keep");
    EXPECT_TRUE(mail_.calls.empty());
}

TEST_F(DefaultFilesTest, AFreshFolderGetsEveryDefaultFile) {
    WriteAll(File("DLLInput.txt"), "old request");
    WriteAll(File("SerTraceFile.txt"), "old trace");
    WriteAll(File("AutoFileSelection.txt"), "1;1;1\r\n");
    // A damaged backup-set record schedules nothing: the default takes its place.
    WriteAll(File("scheduleData.txt"), "0\r\n1\b\boventbkupjob\b\b03-15-2026 03:00:00\r\n");
    const fs::path profile = folders_.ProfileFile(kUser);
    store_.Write(profile, "Proxy", Obscure("ProxyName"), Obscure("proxy.example.com"));
    store_.Write(profile, "Proxy", Obscure("ProxyPort"), Obscure("8080"));
    store_.Write(profile, "Orvessa", Obscure("password"), Obscure("old"));
    system_.version = OsVersion{true, 6, 0, 0};  // from here on music, videos and pictures join the list

    ASSERT_TRUE(form_.Form_Load());

    EXPECT_EQ(ReadAll(File("scheduleData.txt")),
              "0\r\n1\b\boventbkupjob\b\b03-15-2026 03:00:00\b\b03-14-2026 09:30:00\b\b3\b\b1\b\b\b\b1\b\b0\b\b"
              "202603150300\b\b6\b\b1111111\r\n");
    EXPECT_EQ(ReadAll(File("AutoFileSelection.txt")),
              "0;0;0;0;0;1;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0\r\n");
    EXPECT_FALSE(FileExists(File("DLLInput.txt")));
    EXPECT_FALSE(FileExists(File("SerTraceFile.txt")));
    // The profile file is gone; only the user's proxy settings came back.
    EXPECT_EQ(store_.Dump(profile), (std::map<std::string, std::string>{
                                        {"proxy/" + ToLowerAscii(Obscure("ProxyName")), Obscure("proxy.example.com")},
                                        {"proxy/" + ToLowerAscii(Obscure("ProxyPort")), Obscure("8080")},
                                    }));

    // Detected paths are trimmed and end in one "\"; what was not found stays empty.
    const auto paths = AutoPaths();
    EXPECT_EQ(paths.size(), contract::kAutoPathEntries.size());
    EXPECT_EQ(std::count_if(paths.begin(), paths.end(), [](const auto& path) { return !path.second.empty(); }), 5);
    EXPECT_EQ(paths.at("autofilepaths/desktoppath"), "C:\\Users\\alice\\Desktop\\");
    EXPECT_EQ(paths.at("autofilepaths/mydocumentspath"), "C:\\Users\\alice\\Documents\\");
    EXPECT_EQ(paths.at("autofilepaths/mymusicpath"), "C:\\Users\\alice\\Music\\");

    EXPECT_EQ(ReadAll(File("atbkupfolderlist.txt")),
              "C:\\Users\\alice\\Documents\\\r\nC:\\Users\\alice\\Desktop\\\r\nC:\\Users\\alice\\Music\\\r\n"
              "C:\\Users\\alice\\Videos\\\r\nC:\\Users\\alice\\Pictures\\\r\n");
    EXPECT_EQ(ReadAll(File("atbkupExcludeFile.txt")),
              "pagefile.sys/1\r\nntuser.dat/1\r\nhiberfil.sys/1\r\n~outlook.pst.tmp/1\r\n");
    // The other exclude lists are checked where they are extended.
    EXPECT_EQ(ReadAll(File("UserExcludeFolder.txt")), "");  // created, empty
    EXPECT_EQ(ReadAll(File("atbkupExcludeFilePath.txt")), "");
}

TEST_F(DefaultFilesTest, ExistingFilesAreExtendedNeverShortenedAndNeverDoubled) {
    // The user switched the recycler entry to another flag: that entry stays the only one.
    WriteAll(File("atbkupExcludeFolder.txt"), "recycler/0\r\n");
    WriteAll(File("atbkupExcludelist.txt"), "D:\\Scratch\r\nc:\\windows\\");  // no final line end
    WriteAll(File("atbkupfolderlist.txt"), "E:\\Photos\\\r\n");
    const std::string sqlJob =
        "2\b\bSQLSERVERBACKUPnightly\b\b03-20-2026 01:00:00\b\b03-01-2026 10:00:00\b\b1\b\b7\b\bops@example.com;"
        "\b\b2\b\b1\b\b202603200100\b\b6\b\b0111110";
    WriteAll(File("scheduleData.txt"), "2\r\n" + sqlJob + "\r\n");

    ASSERT_TRUE(form_.Form_Load());
    // The default joins the existing schedule, which keeps its run marker.
    const std::string schedule = ReadAll(File("scheduleData.txt"));
    EXPECT_TRUE(schedule.starts_with("2\r\n" + sqlJob + "\r\n1\b\boventbkupjob")) << schedule;
    // The first run deleted the profile file; should FirstUser be "TRUE" again (the engine sets
    // it), the next run adds nothing twice and keeps the schedule, which is now the user's.
    random_ = test::ScriptedRandom{test::ScriptedRandom::Bucket(9, 12)};
    SetFirstUser("TRUE");
    ASSERT_TRUE(form_.Form_Load());

    EXPECT_EQ(ReadAll(File("scheduleData.txt")), schedule);
    EXPECT_EQ(ReadAll(File("atbkupExcludeFolder.txt")),
              "recycler/0\r\nSystem Volume Information/1\r\n$Recycle.Bin/1\r\n");
    EXPECT_EQ(ReadAll(File("atbkupExcludelist.txt")),
              "D:\\Scratch\r\nc:\\windows\\\r\nC:\\Users\\alice\\AppData\\Local\\Temp\\\r\n"
              "C:\\Users\\alice\\INetCache\r\nC:\\Users\\alice\\INetCookies\r\nC:\\Users\\Public\\Favorites\r\n");
    // The backup selection is the user's: an existing one is not touched.
    EXPECT_EQ(ReadAll(File("atbkupfolderlist.txt")), "E:\\Photos\\\r\n");
}

TEST_F(DefaultFilesTest, WithoutTheCompanionLibraryKeysStayEmptyAndTheFolderListHasNoLines) {
    mail_.present = false;
    // A path left by an earlier detection must not pass for one found now.
    store_.Write(File("SimpleAutoPath.ini"), "AUTOFILEPATHS", "DesktopPath", "C:\\Old\\Desktop\\");

    ASSERT_TRUE(form_.Form_Load());

    EXPECT_EQ(mail_.calls.size(), contract::kAutoPathEntries.size());
    EXPECT_EQ(AutoPaths(), (std::map<std::string, std::string>{{"autofilepaths/desktoppath", ""}}));
    EXPECT_TRUE(FileExists(File("atbkupfolderlist.txt")));
    EXPECT_EQ(ReadAll(File("atbkupfolderlist.txt")), "");
    // The rest of the preparation does not depend on the library.
    EXPECT_EQ(ReadAll(File("atbkupExcludeFolder.txt")),
              "System Volume Information/1\r\nRECYCLER/1\r\n$Recycle.Bin/1\r\n");
}

TEST_F(DefaultFilesTest, AFolderTheCodePageCannotHoldIsLeftOutNotMisspelt) {
    mail_.folders["MyDocumentsPath"] = "C:\\Users\\Łukasz\\Documents";  // no Ł in Windows-1252
    mail_.folders["DesktopPath"] = "C:\\Users\\Jürgen\\Desktop";        // ü is there
    system_.version = OsVersion{true, 5, 2, 0};  // before NT 6 only documents and desktop are listed

    ASSERT_TRUE(form_.Form_Load());

    EXPECT_EQ(ReadAll(File("atbkupfolderlist.txt")), "C:\\Users\\J\xFCrgen\\Desktop\\\r\n");
    EXPECT_EQ(AutoPaths().at("autofilepaths/mydocumentspath"), "C:\\Users\\Łukasz\\Documents\\");
}

}  // namespace
}  // namespace ovp
