#include "ui/schedule_status.h"

#include <gtest/gtest.h>

#include <limits>

#include "base/files.h"
#include "scheduler/schedule_record.h"
#include "support/app_fixture.h"

namespace ovp {
namespace {

std::string Record(std::string_view jobKind, std::string_view nextRun, std::string_view key) {
    ScheduleRecord record;
    record.RecordNo = "1";
    record.JobKind = jobKind;
    record.NextRun = nextRun;
    record.SortKey = key;
    return FormatScheduleLine(record);
}

class ScheduleStatusTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fx_.WriteConfiguration();
        fx_.SetCurrentUser("alice");
        CreateFolders(fx_.Context().values.UserFolder());
    }
    void WriteSchedule(const std::vector<std::string>& records) {
        std::string bytes = "0\r\n";
        for (const auto& record : records) {
            bytes += record + "\r\n";
        }
        test::WriteAll(fx_.Context().values.UserFolder() / "scheduleData.txt", bytes);
    }
    NextSchedule Next() {
        AppContext& c = fx_.Context();
        return GetScheduleDate(c.values, c.transfer, c.settings, c.ports.codePage);
    }

    test::AppFixture fx_;
};

TEST_F(ScheduleStatusTest, TimeDifferenceCountsOnTheRealCalendar) {
    struct Case {
        std::string_view next, end, window, now;
        std::string sentence;
        bool recent;
    };
    const Case cases[] = {
        {"03-14-2026 12:45:00", "", "", "03-14-2026 09:30:00", "Backup will start in next 3 hour(s).", false},
        {"01-01-2027 00:10:00", "", "0", "12-31-2026 23:50:59", "Backup will start in next 20 minute(s).", false},
        // Borrowing 30-day months would make this 30 days.
        {"04-01-2026 10:00:00", "", "", "03-31-2026 10:00:00", "Backup will start in next 1 day(s).", false},
        {"03-14-2026 09:00:00", "", "", "03-14-2026 09:30:00", "", false},  // the start has passed
        {"03-14-2026 12:45:00", "", "1", "03-14-2026 09:30:00", "", false},
        {"", "12-31-2025 23:50:00", "1", "01-01-2026 00:19:00", "Files backed up 29 minute(s) ago.", true},
        {"", "03-14-2026 09:00:00", "", "03-14-2026 09:30:00", "Files backed up 30 minute(s) ago.", false},
        {"", "03-14-2026 09:30:00", "", "03-14-2026 09:30:00", "Files backed up 1 minute(s) ago.", true},
        {"", "03-14-2026 11:00:00", "", "03-14-2026 09:30:00", "Files backed up 1 minute(s) ago.", true},
        {"", "03-12-2026 08:00:00", "", "03-14-2026 09:30:00", "Files backed up 2 day(s) ago.", false},
        {"03-14-2026 12:45:00", "yesterday", "", "03-14-2026 09:30:00", "", false},
    };
    for (const Case& c : cases) {
        fx_.Context().values.WriteProfile("BackupStatus", "SchEndTime", c.end);
        fx_.Context().values.WriteProfile("BackupStatus", "StatusWindow", c.window);
        const TimeDifference got = GetTimeDifference(c.next, fx_.Context().values, *ParseStamp(c.now));
        EXPECT_EQ(std::tuple(got.sentence, got.recent), std::tuple(c.sentence, c.recent))
            << c.next << c.end << " at " << c.now;
    }

    test::WriteAll(fx_.Context().values.UserFolder() / "SchStatusError.txt", "");
    fx_.Context().values.WriteProfile("BackupStatus", "SchEndTime", "03-14-2026 09:20:00");
    const TimeDifference failed = GetTimeDifference("", fx_.Context().values, {2026, 3, 14, 9, 30, 0});
    EXPECT_EQ(std::tuple(failed.sentence, failed.recent), std::tuple("Backup has failed", true));
}

TEST(FormatSize, TruncatesToOneDecimalInTheLocaleSeparator) {
    const struct {
        double bytes;
        std::string_view separator;
        std::string text;
    } cases[] = {
        {1536, ".", "1.5 KB"},
        {1600, ".", "1.5 KB"},
        {1536, ",", "1,5 KB"},
        {1048575, ".", "1023.9 KB"},
        {1048576, ".", "1.0 MB"},
        {1073741824, ".", "1.0 GB"},
        {161061273600, "", "150.0 GB"},
        {1023, ".", "1023 Bytes"},
        {-1, ".", ""},
        {std::numeric_limits<double>::quiet_NaN(), ".", ""},
        {1e300, ".", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatSize(c.bytes, c.separator), c.text) << c.bytes;
    }
}

TEST_F(ScheduleStatusTest, TheSmallestKeyWinsAndOfEqualKeysTheLaterRecord) {
    WriteSchedule({
        Record("oventbkupjob", "03-20-2026 06:00:00", "202603200600"),
        Record("SQLSERVERBACKUPalice", "03-15-2026 06:00:00", "202603150600"),
        Record("broken", "", ""),  // as text an empty key sorts first; it names no time
        Record("SYSTEMSTATEBACKUP", "03-15-2026 06:00:00", "202603150600"),
    });
    const NextSchedule next = Next();
    EXPECT_EQ(std::tuple(next.jobLabel, next.line, next.nextRun),
              std::tuple("System State", Record("SYSTEMSTATEBACKUP", "03-15-2026 06:00:00", "202603150600"),
                         "03-15-2026 06:00:00"));
}

TEST_F(ScheduleStatusTest, LabelsAndTheBackupSetsStartInStoredForm) {
    const struct {
        std::string_view jobKind, nextRun;
        std::string label, nextRunOut;
    } cases[] = {
        {"oventbkupjob", "03/07/2026 6:00", "", "03-07-2026 06:00:00"},
        {"SQLSERVERBACKUP_SET1", "03/07/2026 6:00", "SQL Server", "03/07/2026 6:00"},
        {"OVEXCHANGEBRICKBACKUP", "03-07-2026 06:00:00", "Exchange Brick Level", "03-07-2026 06:00:00"},
    };
    for (const auto& c : cases) {
        WriteSchedule({Record(c.jobKind, c.nextRun, "202603070600")});
        EXPECT_EQ(std::tuple(Next().jobLabel, Next().nextRun), std::tuple(c.label, c.nextRunOut)) << c.jobKind;
    }
    fx_.Context().transfer.Trf_WriteUserProfile("ScheduleDisable", "TRUE");
    EXPECT_TRUE(Next().disabled);
    EXPECT_EQ(Next().line, "");
}

TEST(ScheduleStatusProductTwo, TakesTheFirstRecordAsStored) {
    test::AppFixture fx;
    std::string config = test::GroupConfiguration();
    config.replace(config.find("ProductNumber=5"), 15, "ProductNumber=2");
    fx.WriteConfiguration(config);
    fx.SetCurrentUser("alice");
    AppContext& c = fx.Context();
    CreateFolders(c.values.UserFolder());
    const std::string first = Record("SQLSERVERBACKUPx", "03/20/2026 6:00", "202603200600");
    test::WriteAll(c.values.UserFolder() / "scheduleData.txt",
                   "0\r\n" + first + "\r\n" + Record("oventbkupjob", "03-10-2026 06:00:00", "202603100600") + "\r\n");
    const NextSchedule next = GetScheduleDate(c.values, c.transfer, c.settings, c.ports.codePage);
    EXPECT_EQ(std::tuple(next.line, next.nextRun, next.jobLabel), std::tuple(first, "03/20/2026 6:00", ""));
}

TEST(NextBackupSentence, FollowsTheShortDatePatternAndTheLabel) {
    const struct {
        std::string_view nextRun, label, pattern;
        std::string sentence;
    } cases[] = {
        {"03-07-2026 06:00:00", "", "dd/MM/yyyy", "Your next backup will occur on  03/07/2026 06:00:00"},
        {" 03-07-2026 18:05:09 ", "", "M/d/yyyy", "Your next backup will occur on  03-07-2026 18:05:09"},
        {"03-07-2026 06:00:00", "SQL Server", "DD/MM/YYYY",
         "Your next backup(SQL Server) will occur on 03/07/2026 06:00:00"},
        {"", "", "dd/MM/yyyy", ""},
        {"02-30-2026 06:00:00", "", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NextBackupSentence(c.nextRun, c.label, c.pattern), c.sentence) << c.nextRun << " " << c.pattern;
    }
}

}  // namespace
}  // namespace ovp
