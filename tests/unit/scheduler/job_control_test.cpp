#include "scheduler/job_control.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "support/fakes.h"
#include "support/temp_dir.h"

namespace ovp {
namespace {

class IsScheduledJobRunningTest : public ::testing::Test {
  protected:
    test::TempDir temp_;
    Folders folders_{temp_.Path(), "Tallux Pro"};
    test::FakeProfileStore store_;
    test::FakeRegistry registry_;
    test::FakeTraceSink sink_;
    CurrentUser users_{store_, folders_};
    SharedValues values_{registry_, store_, folders_, users_, sink_};
};

TEST_F(IsScheduledJobRunningTest, StatusCountsOnlyWithTheCurrentUsersScheduleFile) {
    const struct {
        const char* user;  // whose profile holds the status; the schedule file is alice's
        bool file;
        const char* status;
        const char* retValue;
        int expected;
        std::int64_t expectedRet;
        const char* shared;
    } cases[] = {
        {"alice", false, "1", "3", 0, 0, "shared"},  // the old result is forgotten
        {"alice", true, " 1 ", " -505 ", kScheduledJobRunning, -505, ""},
        {"alice", true, "5", "", 5, 0, "shared"},
        {"alice", true, "", "junk", 0, 0, "shared"},
        {"alice", true, "1x", "junk", 0, 0, "shared"},
        {"alice", true, "65537", "junk", 0, 0, "shared"},
        {"bob", true, "1", "", 0, 0, "shared"},
    };
    const auto schedule = folders_.UserFolder("alice") / "scheduleData.txt";
    for (const auto& c : cases) {
        std::filesystem::remove(schedule);
        if (c.file) {
            test::WriteAll(schedule, "1\r\n");
        }
        users_.WriteCurrentUserName(c.user);
        values_.WriteProfile("BackupStatus", "Status", c.status);
        values_.WriteProfile("BackupStatus", "RetValue", c.retValue);
        ScheduledJobMemory memory{77, "shared"};
        EXPECT_EQ(IsScheduledJobRunning(values_, memory), c.expected) << c.user << " '" << c.status << "'";
        EXPECT_EQ(memory.retValue, c.expectedRet) << c.status;
        EXPECT_EQ(memory.sharedStatusText, c.shared) << c.status;
    }
}

class FindLatestScheduledLogTest : public ::testing::Test {
  protected:
    void Log(std::string_view name, int hoursAgo) {
        test::WriteAll(temp_ / name, "log");
        std::filesystem::last_write_time(temp_ / name, now_ - std::chrono::hours(hoursAgo));
    }
    std::string Latest() { return FindLatestScheduledLog(temp_.Path(), texts_); }

    test::TempDir temp_;
    test::FakeLocaleText texts_;
    std::filesystem::file_time_type now_ = std::filesystem::file_time_type::clock::now();
};

TEST_F(FindLatestScheduledLogTest, NewestScheduledLogWinsOverNewerLogsOfOtherKinds) {
    Log("Backup 03-14-2026 09:00:00.txt", 1);
    EXPECT_EQ(Latest(), "");
    EXPECT_EQ(FindLatestScheduledLog(temp_ / "missing", texts_), "");

    Log("Scheduled Backup 03-12-2026 06:00:00.txt", 30);
    Log("Scheduled Backup 03-13-2026 06:00:00.txt", 5);
    Log("scheduled lower case 03-14-2026 09:00:00.txt", 1);
    std::filesystem::create_directories(temp_ / "Scheduled folder");
    EXPECT_EQ(Latest(), "Scheduled Backup 03-13-2026 06:00:00.txt");

    // The localised word is the mark.
    texts_.texts[kScheduledLogWordTextId] = "Geplante";
    Log("Geplante Sicherung 03-12-2026 06:00:00.txt", 20);
    EXPECT_EQ(Latest(), "Geplante Sicherung 03-12-2026 06:00:00.txt");
}

}  // namespace
}  // namespace ovp
