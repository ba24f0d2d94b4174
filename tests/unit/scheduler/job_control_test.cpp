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
    void SetUp() override { users_.WriteCurrentUserName("alice"); }
    void WriteSchedule() { test::WriteAll(folders_.UserFolder("alice") / "scheduleData.txt", "1\r\n"); }
    void SetStatus(std::string_view status, std::string_view retValue) {
        values_.WriteProfile("BackupStatus", "Status", status);
        values_.WriteProfile("BackupStatus", "RetValue", retValue);
    }

    test::TempDir temp_;
    Folders folders_{temp_.Path(), "Tallux Pro"};
    test::FakeProfileStore store_;
    test::FakeRegistry registry_;
    test::FakeTraceSink sink_;
    CurrentUser users_{store_, folders_};
    SharedValues values_{registry_, store_, folders_, users_, sink_};
    ScheduledJobMemory memory_{77, "shared"};
};

TEST_F(IsScheduledJobRunningTest, WithoutTheScheduleFileNothingRunsAndTheOldResultIsForgotten) {
    SetStatus("1", "3");
    EXPECT_EQ(IsScheduledJobRunning(values_, memory_), 0);
    EXPECT_EQ(memory_.retValue, 0);
    EXPECT_EQ(memory_.sharedStatusText, "shared");
}

TEST_F(IsScheduledJobRunningTest, StatusOneWithBlanksRunsAndEmptiesTheSharedText) {
    WriteSchedule();
    SetStatus(" 1 ", " -505 ");
    EXPECT_EQ(IsScheduledJobRunning(values_, memory_), kScheduledJobRunning);
    EXPECT_EQ(memory_.retValue, -505);
    EXPECT_EQ(memory_.sharedStatusText, "");
}

TEST_F(IsScheduledJobRunningTest, OtherStatusValuesAreAnsweredAsTheyStandOrAsZero) {
    WriteSchedule();
    SetStatus("5", "");
    EXPECT_EQ(IsScheduledJobRunning(values_, memory_), 5);
    EXPECT_EQ(memory_.retValue, 0);
    EXPECT_EQ(memory_.sharedStatusText, "shared");
    for (const char* status : {"", "abc", "1x", "65537", "-40000"}) {
        SetStatus(status, "junk");
        EXPECT_EQ(IsScheduledJobRunning(values_, memory_), 0) << status;
        EXPECT_EQ(memory_.retValue, 0);
    }
}

TEST_F(IsScheduledJobRunningTest, TheScheduleFileOfTheUserCurrentNowCounts) {
    WriteSchedule();
    SetStatus("1", "");
    users_.WriteCurrentUserName("bob");
    values_.WriteProfile("BackupStatus", "Status", "1");
    EXPECT_EQ(IsScheduledJobRunning(values_, memory_), 0);
}

class FindLatestScheduledLogTest : public ::testing::Test {
  protected:
    void Log(std::string_view name, int hoursAgo) {
        test::WriteAll(temp_ / name, "log");
        std::filesystem::last_write_time(temp_ / name, now_ - std::chrono::hours(hoursAgo));
    }

    test::TempDir temp_;
    test::FakeLocaleText texts_;
    std::filesystem::file_time_type now_ = std::filesystem::file_time_type::clock::now();
};

TEST_F(FindLatestScheduledLogTest, NewestScheduledLogWinsOverNewerLogsOfOtherKinds) {
    Log("Scheduled Backup 03-12-2026 06:00:00.txt", 30);
    Log("Scheduled Backup 03-13-2026 06:00:00.txt", 5);
    Log("Backup 03-14-2026 09:00:00.txt", 1);
    Log("scheduled lower case 03-14-2026 09:00:00.txt", 1);
    std::filesystem::create_directories(temp_ / "Scheduled folder");
    EXPECT_EQ(FindLatestScheduledLog(temp_.Path(), texts_), "Scheduled Backup 03-13-2026 06:00:00.txt");
}

TEST_F(FindLatestScheduledLogTest, NoScheduledLogOrNoFolderGivesEmpty) {
    Log("Backup 03-14-2026 09:00:00.txt", 1);
    EXPECT_EQ(FindLatestScheduledLog(temp_.Path(), texts_), "");
    EXPECT_EQ(FindLatestScheduledLog(temp_ / "missing", texts_), "");
}

TEST_F(FindLatestScheduledLogTest, TheLocalisedWordIsTheMark) {
    texts_.texts[kScheduledLogWordTextId] = "Geplante";
    Log("Scheduled Backup 03-13-2026 06:00:00.txt", 1);
    Log("Geplante Sicherung 03-12-2026 06:00:00.txt", 20);
    EXPECT_EQ(FindLatestScheduledLog(temp_.Path(), texts_), "Geplante Sicherung 03-12-2026 06:00:00.txt");
}

}  // namespace
}  // namespace ovp
