#include "win32/processes_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <random>

#include "base/files.h"
#include "base/text.h"
#include "service/process_check.h"
#include "support/temp_dir.h"
#include "win32/shell_win.h"
#include "win32/unique_resource.h"

namespace ovp::win {
namespace {

constexpr const char* kHelperTest = "ProcessesWinHelper.DISABLED_StaysAliveForAMinute";

std::filesystem::path OwnExecutable() {
    std::wstring path(32768, L'\0');
    path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

// Polls until the condition holds, for at most ten seconds.
template <typename Condition>
bool Eventually(Condition condition) {
    for (int i = 0; i < 200 && !condition(); ++i) {
        ::Sleep(50);
    }
    return condition();
}

// Not a test of its own: the process that the tests below start, find and end.
TEST(ProcessesWinHelper, DISABLED_StaysAliveForAMinute) {
    ::Sleep(60000);
}

TEST(ProcessesWinTest, FindsItsOwnExecutableByItsWholeFileNameAndNeverEndsItself) {
    Win32Processes processes;
    const std::string ownName = Utf8FromPath(OwnExecutable().filename());
    EXPECT_TRUE(FindProcess(processes, ownName).has_value()) << ownName;
    const auto list = processes.List();
    const auto own =
        std::find_if(list.begin(), list.end(), [](const ProcessInfo& p) { return p.id == ::GetCurrentProcessId(); });
    ASSERT_NE(own, list.end());
    EXPECT_TRUE(EqualsNoCase(own->imagePath, Utf8FromPath(OwnExecutable()))) << own->imagePath;
    EXPECT_TRUE(EndProcessesNamed(processes, ownName));  // and this test goes on
}

// A listing taken before an id passed to another program: the helper's id still carries the name
// of the program that had it.
class StaleListing final : public Win32Processes {
  public:
    StaleListing(std::uint32_t id, std::string formerPath) : id_(id), formerPath_(std::move(formerPath)) {}
    std::vector<ProcessInfo> List() override {
        std::vector<ProcessInfo> list = Win32Processes::List();
        for (ProcessInfo& process : list) {
            if (process.id == id_) {
                process.imagePath = formerPath_;
            }
        }
        return list;
    }

  private:
    std::uint32_t id_;
    std::string formerPath_;
};

TEST(ProcessesWinTest, AStartedHelperIsFoundAndEndedByNameWithExitCodeZero) {
    test::TempDir folder;
    const std::string helperName = "OVPSvcHelper-" + std::to_string(std::random_device{}() % 100000) + ".exe";
    const std::filesystem::path helper = folder / helperName;
    std::filesystem::copy_file(OwnExecutable(), helper);

    Win32Shell shell;
    ShellRequest request;
    request.file = helper;
    request.arguments = std::string("--gtest_also_run_disabled_tests --gtest_filter=") + kHelperTest;
    request.workingFolder = folder.Path();
    request.show = ShowMode::Hidden;
    const ShellResult started = shell.Execute(request);
    ASSERT_TRUE(started.Succeeded()) << started.instance << " " << started.errorText;

    Win32Processes processes;
    std::optional<std::uint32_t> id;
    ASSERT_TRUE(Eventually([&] { return (id = FindProcess(processes, ToLowerAscii(helperName))).has_value(); }));
    const unique_handle watch(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, *id));
    ASSERT_TRUE(watch);

    StaleListing stale(*id, Utf8FromPath(folder / "OVPGone.exe"));
    EXPECT_FALSE(EndProcessesNamed(stale, "OVPGone.exe"));
    EXPECT_EQ(::WaitForSingleObject(watch.get(), 200), static_cast<DWORD>(WAIT_TIMEOUT));

    EXPECT_TRUE(EndProcessesNamed(processes, helperName));
    ASSERT_EQ(::WaitForSingleObject(watch.get(), 10000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    ASSERT_TRUE(::GetExitCodeProcess(watch.get(), &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(Eventually([&] { return !IsProcessRunning(processes, helperName); }));
}

}  // namespace
}  // namespace ovp::win
