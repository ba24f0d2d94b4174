#include "service/process_check.h"

#include <gtest/gtest.h>

#include "support/fake_processes.h"

namespace ovp {
namespace {

using test::FakeProcesses;

TEST(ProcessCheckTest, OnlyTheWholeFileNameCountsWhateverTheCaseOrSeparator) {
    EXPECT_TRUE(IsSameExecutable("C:\\Program Files\\Kesh\\KeshBackground.exe", "keshbackground.EXE"));
    EXPECT_TRUE(IsSameExecutable("/opt/kesh/KeshBackground.exe", "KeshBackground.exe"));
    EXPECT_TRUE(IsSameExecutable("C:/mixed\\dir/KeshBackground.exe", "KeshBackground.exe"));
    EXPECT_TRUE(IsSameExecutable("KeshBackground.exe", "KeshBackground.exe"));

    EXPECT_FALSE(IsSameExecutable("C:\\App\\OVKeshBackground.exe", "KeshBackground.exe"));
    EXPECT_FALSE(IsSameExecutable("C:\\App\\KeshBackground.exe.bak", "KeshBackground.exe"));
    EXPECT_FALSE(IsSameExecutable("C:\\KeshBackground.exe\\other.exe", "KeshBackground.exe"));
    EXPECT_FALSE(IsSameExecutable("C:\\App\\", "App"));
    EXPECT_FALSE(IsSameExecutable("", ""));
    EXPECT_FALSE(IsSameExecutable("C:\\App\\x.exe", ""));
    EXPECT_EQ(ExecutableFileName("a/b\\c.exe"), "c.exe");
}

TEST(ProcessCheckTest, FindsTheFirstMatchAndEndsEveryMatchOnly) {
    FakeProcesses processes;
    processes.Add("");  // a process that could not be asked
    const auto other = processes.Add("C:\\App\\KeshClassic.exe");
    const auto first = processes.Add("C:\\App\\KeshBckupsetSize.exe");
    const auto second = processes.Add("D:\\Copy\\keshbckupsetsize.exe");
    processes.protectedIds.push_back(second);

    EXPECT_EQ(FindProcess(processes, "KeshBckupsetSize.exe"), first);
    EXPECT_TRUE(IsProcessRunning(processes, "KeshClassic.exe"));
    EXPECT_FALSE(IsProcessRunning(processes, "Classic.exe"));
    EXPECT_FALSE(IsProcessRunning(processes, ""));

    // Running counts even when one of them cannot be ended.
    EXPECT_TRUE(EndProcessesNamed(processes, "KESHBCKUPSETSIZE.EXE"));
    EXPECT_EQ(processes.ended, std::vector<std::uint32_t>{first});
    EXPECT_FALSE(EndProcessesNamed(processes, "Nothing.exe"));
    EXPECT_FALSE(EndProcessesNamed(processes, ""));
    EXPECT_EQ(processes.running.size(), 3u);
    EXPECT_EQ(FindProcess(processes, "keshclassic.exe"), other);
}

}  // namespace
}  // namespace ovp
