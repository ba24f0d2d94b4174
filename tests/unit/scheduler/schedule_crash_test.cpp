// A writer killed at any point of a rewrite leaves the schedule whole: the old content or the new,
// never a truncated or missing file. Needs fork and SIGKILL, so Linux only.
#ifndef _WIN32

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "scheduler/schedule_file.h"
#include "support/fake_code_page.h"
#include "support/temp_dir.h"

namespace ovp {
namespace {

ScheduleTable TableOf(const std::filesystem::path& file, std::size_t records, std::string_view stamp) {
    ScheduleTable table(file);
    table.SetScheduleCount(records);
    for (std::size_t i = 0; i < records; ++i) {
        ScheduleRecord& record = table.Record(i);
        record.RecordNo = std::to_string(i);
        record.JobKind = "SQLSERVERBACKUP" + std::to_string(i);
        record.NextRun = std::string(stamp);
        record.MailList = "ops@example.com;";
        record.WeekDays = "1111111";
    }
    return table;
}

// Tells the parent through `ready` once it is inside the loop, so that every kill lands while a
// rewrite is under way however slowly the child starts (sanitizers, a loaded machine).
[[noreturn]] void RewriteForever(ScheduleTable& small, ScheduleTable& large, int ready) {
    test::FakeCodePage codePage;
    // Bounded, in case the test is gone before it can kill us.
    const auto stopAt = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    bool told = false;
    while (std::chrono::steady_clock::now() < stopAt) {
        DB_WriteAllRecord(large, codePage, ScheduleWriter::Manager);
        if (!told) {
            told = write(ready, "r", 1) == 1;
        }
        DB_WriteAllRecord(small, codePage, ScheduleWriter::Manager);
    }
    _exit(0);
}

TEST(ScheduleCrashTest, AWriterKilledMidRewriteLeavesOneWholeContent) {
    test::TempDir dir;
    const auto file = ScheduleFilePath(dir.Path());
    test::FakeCodePage codePage;
    ScheduleTable small = TableOf(file, 20, "03-07-2026 06:00:00");
    ScheduleTable large = TableOf(file, 400, "04-08-2027 07:00:00");
    ASSERT_TRUE(DB_WriteAllRecord(large, codePage, ScheduleWriter::Manager).Succeeded());
    const std::string largeBytes = test::ReadAll(file);
    ASSERT_TRUE(DB_WriteAllRecord(small, codePage, ScheduleWriter::Manager).Succeeded());
    const std::string smallBytes = test::ReadAll(file);

    constexpr int kRounds = 300;
    int sawSmall = 0;
    int sawLarge = 0;
    for (int round = 0; round < kRounds; ++round) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(ready[0]);
            RewriteForever(small, large, ready[1]);
        }
        close(ready[1]);
        char byte = 0;
        ASSERT_EQ(read(ready[0], &byte, 1), 1);
        close(ready[0]);
        // 0 to 3 ms in uneven steps, so the kill lands in every phase of a rewrite.
        std::this_thread::sleep_for(std::chrono::microseconds((round * 397) % 3000));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);

        const std::string now = test::ReadAll(file);
        ASSERT_TRUE(now == smallBytes || now == largeBytes) << "round " << round << ": " << now.size() << " bytes";
        (now == smallBytes ? sawSmall : sawLarge)++;
    }
    // Both contents turned up, so the kills did land while the child was rewriting.
    EXPECT_GT(sawSmall, 0);
    EXPECT_GT(sawLarge, 0);
}

}  // namespace
}  // namespace ovp

#endif  // _WIN32
