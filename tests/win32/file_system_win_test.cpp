#include "win32/file_system_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <thread>

#include "app/startup.h"
#include "base/files.h"
#include "support/temp_dir.h"
#include "win32/unique_resource.h"

namespace ovp::win {
namespace {

namespace fs = std::filesystem;

bool IsFolderLink(const fs::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    const DWORD folderLink = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & folderLink) == folderLink;
}

// Under Wine a Unix tool can be started like a Windows program, and Wine shows a Unix symbolic
// link to a folder as a folder link. The process Windows waits for may end before the tool has
// done its work, so callers wait for the result itself (WaitUntil).
void RunUnixTool(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        const unique_handle process(info.hProcess);
        const unique_handle thread(info.hThread);
        ::WaitForSingleObject(process.get(), 60000);
    }
}

template <typename Done>
bool WaitUntil(Done done) {
    for (int round = 0; round < 300 && !done(); ++round) {
        ::Sleep(100);
    }
    return done();
}

std::wstring UnixPath(const fs::path& path) {
    using ToUnix = char*(CDECL*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unixPath = toUnix ? toUnix(path.c_str()) : nullptr;
    if (!unixPath) {
        return {};
    }
    const std::wstring text = fs::path(std::string(unixPath)).wstring();
    ::HeapFree(::GetProcessHeap(), 0, unixPath);
    return text;
}

// A folder link for the length of a test: a symbolic link where Windows grants one, else a Unix
// one under Wine. Planted() is false where neither can be made.
class FolderLink {
  public:
    FolderLink(fs::path link, const fs::path& target) : link_(std::move(link)) {
        ::CreateSymbolicLinkW(link_.c_str(), target.c_str(),
                              SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
        if (!IsFolderLink(link_)) {
            unixLink_ = UnixPath(link_);
            RunUnixTool(L"Z:\\bin\\ln -s \"" + UnixPath(target) + L"\" \"" + unixLink_ + L"\"");
            WaitUntil([this] { return IsFolderLink(link_); });
        }
    }
    ~FolderLink() {
        if (unixLink_.empty()) {
            ::RemoveDirectoryW(link_.c_str());
        } else {
            RunUnixTool(L"Z:\\bin\\rm -f \"" + unixLink_ + L"\"");
            WaitUntil([this] { return !IsFolderLink(link_); });
        }
    }
    FolderLink(const FolderLink&) = delete;
    FolderLink& operator=(const FolderLink&) = delete;

    bool Planted() const { return IsFolderLink(link_); }

  private:
    fs::path link_;
    std::wstring unixLink_;
};

TEST(FileSystemWinTest, TheStartFolderDeleteRemovesLinksButNeverWhatTheyLeadTo) {
    test::TempDir dir;
    const fs::path app = dir / "app";
    const fs::path elsewhere = dir / "elsewhere";
    test::WriteAll(elsewhere / "sub" / "keep.txt", "keep");
    CreateFolders(app);
    Win32FileSystem files;

    // The start folder is itself a link.
    const Folders linked(app, "Grp Backup");
    {
        const FolderLink link(linked.StartFolder(), elsewhere);
        if (!link.Planted()) {
            GTEST_SKIP() << "no folder links here";
        }
        EXPECT_TRUE(RecreateStartFolder(linked, files));
        EXPECT_EQ(test::ReadAll(elsewhere / "sub" / "keep.txt"), "keep");
    }

    // A real start folder holds a link beside a read-only file.
    const Folders real(app, "Own Backup");
    test::WriteAll(real.StartFolder() / "old.txt", "old");
    ::SetFileAttributesW((real.StartFolder() / "old.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    const FolderLink inside(real.StartFolder() / "inside", elsewhere);
    if (!inside.Planted()) {
        GTEST_SKIP() << "no folder links here";
    }
    EXPECT_TRUE(RecreateStartFolder(real, files));
    EXPECT_EQ(test::ReadAll(elsewhere / "sub" / "keep.txt"), "keep");
    EXPECT_FALSE(FileExists(real.StartFolder() / "old.txt"));
}

// The engine reads the file the way most programs do: sharing reading and writing, not deletion.
// Windows refuses to replace a file open like that until it is closed.
unique_hfile OpenLikeTheEngine(const fs::path& file) {
    return unique_hfile(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::size_t EntriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(FileReplaceWinTest, AReplaceWaitsBrieflyForTheEngineAndOtherwiseLeavesTheOldFileAlone) {
    InstallFileFlush();
    test::TempDir dir;
    const fs::path file = dir / "scheduleData.txt";
    test::WriteAll(file, "old");
    {
        auto held = OpenLikeTheEngine(file);
        ASSERT_TRUE(held);
        EXPECT_FALSE(ReplaceFileBytes(file, "new"));
    }
    EXPECT_EQ(test::ReadAll(file), "old");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);

    auto held = OpenLikeTheEngine(file);
    std::thread engine([&held] {
        ::Sleep(60);
        held.reset();
    });
    EXPECT_TRUE(ReplaceFileBytes(file, "new"));
    engine.join();
    EXPECT_EQ(test::ReadAll(file), "new");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

// A writer killed at any moment leaves the old content or the new one, whole, and what it left
// behind goes with the next replace.
TEST(FileReplaceWinTest, AWriterKilledAtRandomMomentsNeverLeavesATornOrMissingFile) {
    wchar_t own[MAX_PATH * 2] = {};
    ::GetModuleFileNameW(nullptr, own, MAX_PATH * 2);
    const fs::path writer = fs::path(own).parent_path() / L"ovp_replace_writer.exe";
    test::TempDir dir;
    const fs::path file = dir / "scheduleData.txt";
    const std::wstring eventName = L"ovp-replace-writer-" + std::to_wstring(::GetCurrentProcessId());
    const unique_handle started(::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
    std::minstd_rand delays(20261206);
    constexpr int kKills = 1000;
    int killedWhileWriting = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        ::ResetEvent(started.get());
        std::wstring commandLine = L"\"" + writer.wstring() + L"\" \"" + file.wstring() + L"\" " + eventName;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        // A loaded machine may refuse a process start for a moment; that is not what is tested.
        DWORD startError = 0;
        for (int attempt = 0; attempt < 20; ++attempt) {
            if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                 &info)) {
                startError = 0;
                break;
            }
            startError = ::GetLastError();
            ::Sleep(250);
        }
        ASSERT_EQ(startError, 0u) << "kill " << kill;
        const unique_handle process(info.hProcess);
        const unique_handle thread(info.hThread);
        ASSERT_EQ(::WaitForSingleObject(started.get(), 30000), WAIT_OBJECT_0);
        ::Sleep(delays() % 8);
        ::TerminateProcess(process.get(), 1);
        ::WaitForSingleObject(process.get(), 30000);

        const auto bytes = ReadFileBytes(file);
        ASSERT_TRUE(bytes) << "kill " << kill;
        ASSERT_EQ(bytes->size(), 256u * 1024u) << "kill " << kill;
        ASSERT_TRUE(bytes->find_first_not_of(bytes->front()) == std::string::npos) << "kill " << kill;
        killedWhileWriting += EntriesIn(dir.Path()) > 1 ? 1 : 0;
    }
    // Most kills land in the middle of a write, or the test proves little.
    EXPECT_GT(killedWhileWriting, kKills / 4);
    ASSERT_TRUE(ReplaceFileBytes(file, "after"));
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

}  // namespace
}  // namespace ovp::win
