#include "scheduler/schedule_dates.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace ovp {
namespace {

using test::FakeClock;

DateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return DateTime{year, month, day, hour, minute, second};
}

int CheckAt(std::string_view start, const DateTime& now) {
    FakeClock clock(now);
    return Schwiz_validate_Start4(start, clock);
}

// 03-14-2026 is a Saturday.
constexpr std::string_view kSaturday = "03-14-2026 10:30:00";
constexpr std::string_view kMonday = "03-16-2026 10:30:00";

TEST(ScheduleStartCheckTest, AcceptsAStartUpToTenMinutesPastToTheMinuteAcrossEveryCalendarEdge) {
    const struct {
        std::string_view start;
        DateTime lastAccepted;
        DateTime firstRefused;
    } cases[] = {
        {"03-14-2026 10:05:00", At(2026, 3, 14, 10, 15, 59), At(2026, 3, 14, 10, 16)},
        {"03-14-2026 10:04:59", At(2026, 3, 14, 10, 14, 59), At(2026, 3, 14, 10, 15)},
        {"12-31-2026 23:59:30", At(2027, 1, 1, 0, 9, 59), At(2027, 1, 1, 0, 10)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckAt(c.start, c.lastAccepted), kSchStartAccepted) << c.start;
        EXPECT_EQ(CheckAt(c.start, c.firstRefused), kSchStartPassed) << c.start;
    }
    const DateTime now = At(2026, 3, 14, 9, 30);
    EXPECT_EQ(CheckAt("03-15-2026 00:00:00", now), kSchStartAccepted);
    for (const std::string_view start : {"", "02-30-2026 10:00:00", "03-14-2026 24:00:00", "03-14-2026"}) {
        EXPECT_EQ(CheckAt(start, now), kSchStartPassed) << start;
    }
}

TEST(ScheduleStartRetryTest, MovesAWeekDayStartOneDayAndAMonthlyStartOneMonthToTheChosenDay) {
    const struct {
        DateTime calendar;
        int hour;
        std::string_view frequency;
        int monthDay;
        DateTime now;
        int code;
        DateTime checked;
    } cases[] = {
        {At(2026, 3, 14), 10, "6", 14, At(2026, 3, 14, 12), kSchStartAccepted, At(2026, 3, 15)},
        {At(2026, 3, 14), 10, "5", 14, At(2026, 3, 14, 12), kSchStartAccepted, At(2026, 4, 14)},
        {At(2026, 3, 14), 10, "4", 14, At(2026, 3, 14, 12), kSchStartPassed, At(2026, 3, 14)},
        // An accepted start keeps its calendar; one more than a step in the past stays refused.
        {At(2026, 3, 14), 13, "6", 14, At(2026, 3, 14, 12), kSchStartAccepted, At(2026, 3, 14)},
        {At(2026, 3, 1), 10, "6", 1, At(2026, 3, 14, 12), kSchStartPassed, At(2026, 3, 2)},
        // The chosen day where the month has it, else the month's last day.
        {At(2026, 1, 31), 10, "5", 31, At(2026, 2, 1), kSchStartAccepted, At(2026, 2, 28)},
        {At(2026, 4, 30), 10, "5", 31, At(2026, 5, 2), kSchStartAccepted, At(2026, 5, 31)},
        {At(2026, 12, 15), 10, "5", 15, At(2026, 12, 20), kSchStartAccepted, At(2027, 1, 15)},
        {At(2026, 3, 20), 10, "5", 0, At(2026, 3, 21), kSchStartAccepted, At(2026, 4, 20)},  // no usable day
    };
    for (const auto& c : cases) {
        FakeClock clock(c.now);
        const StartCheck check =
            Sch_CheckStartWithRetry(c.calendar, At(2000, 1, 1, c.hour), c.frequency, c.monthDay, clock);
        EXPECT_EQ(check.code, c.code) << FormatStamp(c.calendar) << " " << c.frequency;
        EXPECT_EQ(check.calendar, c.checked) << FormatStamp(c.calendar) << " " << c.frequency;
    }
}

TEST(ScheduleWeekDayAdvanceTest, MovesToTheFirstTickedDayAndDamagedValuesGiveADefinedStart) {
    const struct {
        std::string_view start;
        std::string_view weekDays;
        std::string_view expected;
    } cases[] = {
        {kSaturday, "0100000", kMonday},
        {kSaturday, "1000000", "03-15-2026 10:30:00"},
        {kSaturday, "0000001", kSaturday},
        {"03-14-2026 7:05:00", "0100000", "03-16-2026 07:05:00"},  // a one-digit hour comes back stored
        {kSaturday, "", kSaturday},                                // nothing ticked: the start as chosen
        {kSaturday, "2122222", kMonday},                           // only "1" ticks a day
        {kSaturday, "01", kMonday},                                // short: the missing days are unticked
        {kSaturday, " 0100000\r\n", kMonday},
        {"02-30-2026 10:00:00", "1111111", ""},
        // Friday 12-31-9999: the next Saturday lies beyond the last representable year.
        {"12-31-9999 10:00:00", "0000001", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ValidateAddDay1(c.start, c.weekDays), c.expected) << c.start << " " << c.weekDays;
    }
}

TEST(ScheduleBuildDateTest, TakesTheDateFromTheCalendarAndTheTimeFromThePicker) {
    const DateTime calendar = At(2026, 3, 14, 17, 45, 12);
    EXPECT_EQ(Sch_Build_Date(calendar, At(1999, 1, 1, 6, 5, 9)), "03-14-2026 06:05:09");
    EXPECT_EQ(Sch_Build_Date(At(2026, 4, 31), At(1999, 1, 1, 6, 0)), "");
}

TEST(ScheduleSavedRunTest, OnlyAMonthFirstWeekDayScheduleMovesToATickedDay) {
    FakeClock clock(At(2026, 3, 13, 8, 0, 7));
    const struct {
        DateTime calendar;
        std::string_view frequency;
        std::string_view weekDays;
        bool dayFirst;
        std::string_view nextRun;
    } cases[] = {
        {At(2026, 3, 14), " 6 ", "0100000", false, kMonday},
        {At(2026, 3, 14), "6", "0100000", true, kSaturday},  // a day-first user's start is stored as chosen
        {At(2026, 3, 14), "5", "0100000", false, kSaturday},
        {At(2026, 2, 30), "6", "1111111", false, ""},
    };
    for (const auto& c : cases) {
        const SavedRunDates dates =
            Sch_SavedRunDates(c.calendar, At(2000, 1, 1, 10, 30), c.frequency, c.weekDays, c.dayFirst, clock);
        EXPECT_EQ(dates.savedAt, "03-13-2026 08:00:07");
        EXPECT_EQ(dates.nextRun, c.nextRun) << c.frequency << " " << c.weekDays;
        EXPECT_EQ(dates.sortKey, Sch_SortBuildDate(c.nextRun)) << c.nextRun;
    }
}

}  // namespace
}  // namespace ovp
