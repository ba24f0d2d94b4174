#include "scheduler/schedule_dates.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace ovp {
namespace {

using test::FakeClock;

DateTime At(int year, int month, int day, int hour, int minute, int second = 0) {
    return DateTime{year, month, day, hour, minute, second};
}

int CheckAt(std::string_view start, const DateTime& now) {
    FakeClock clock(now);
    return Schwiz_validate_Start4(start, clock);
}

// 03-14-2026 is a Saturday.
constexpr std::string_view kSaturday = "03-14-2026 10:30:00";

TEST(ScheduleStartCheckTest, AcceptsAStartUpToTenMinutesPastToTheMinute) {
    const DateTime now = At(2026, 3, 14, 10, 15, 40);
    EXPECT_EQ(CheckAt("03-14-2026 10:05:00", now), kSchStartAccepted);
    EXPECT_EQ(CheckAt("03-14-2026 10:04:59", now), kSchStartPassed);
    EXPECT_EQ(CheckAt("03-13-2026 10:15:00", now), kSchStartPassed);
    EXPECT_EQ(CheckAt("03-15-2026 00:00:00", now), kSchStartAccepted);
    // Across the hour: 10:55 + 10 is 11:05.
    EXPECT_EQ(CheckAt("03-14-2026 10:55:00", At(2026, 3, 14, 11, 6)), kSchStartPassed);
    EXPECT_EQ(CheckAt("03-14-2026 10:56:00", At(2026, 3, 14, 11, 6)), kSchStartAccepted);
}

TEST(ScheduleStartCheckTest, GraceCarriesIntoTheNextDayMonthAndYear) {
    struct Case {
        std::string_view start;
        DateTime lastAccepted;
        DateTime firstRefused;
    };
    const Case cases[] = {
        {"03-14-2026 23:55:00", At(2026, 3, 15, 0, 5, 59), At(2026, 3, 15, 0, 6)},
        {"04-30-2026 23:58:00", At(2026, 5, 1, 0, 8, 59), At(2026, 5, 1, 0, 9)},
        {"02-28-2026 23:59:00", At(2026, 3, 1, 0, 9, 59), At(2026, 3, 1, 0, 10)},
        {"02-29-2028 23:51:00", At(2028, 3, 1, 0, 1, 59), At(2028, 3, 1, 0, 2)},
        {"12-31-2026 23:59:30", At(2027, 1, 1, 0, 9, 59), At(2027, 1, 1, 0, 10)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        EXPECT_EQ(CheckAt(c.start, c.lastAccepted), kSchStartAccepted);
        EXPECT_EQ(CheckAt(c.start, c.firstRefused), kSchStartPassed);
    }
}

TEST(ScheduleStartCheckTest, AStartThatIsNoRealDateIsRefused) {
    const DateTime now = At(2026, 3, 14, 9, 30);
    for (const std::string_view start :
         {"", "garbage", "02-30-2026 10:00:00", "13-01-2026 10:00:00", "03-14-2026 24:00:00", "03-14-2026"}) {
        EXPECT_EQ(CheckAt(start, now), kSchStartPassed) << start;
    }
}

TEST(ScheduleStartRetryTest, MovesAWeekDayStartOneDayAndAMonthlyStartOneMonth) {
    FakeClock clock(At(2026, 3, 14, 12, 0));
    const DateTime time = At(2000, 1, 1, 10, 0);

    const StartCheck weekDays = Sch_CheckStartWithRetry(At(2026, 3, 14, 0, 0), time, "6", 14, clock);
    EXPECT_EQ(weekDays.code, kSchStartAccepted);
    EXPECT_EQ(weekDays.calendar, At(2026, 3, 15, 0, 0));

    const StartCheck monthly = Sch_CheckStartWithRetry(At(2026, 3, 14, 0, 0), time, "5", 14, clock);
    EXPECT_EQ(monthly.code, kSchStartAccepted);
    EXPECT_EQ(monthly.calendar, At(2026, 4, 14, 0, 0));

    const StartCheck once = Sch_CheckStartWithRetry(At(2026, 3, 14, 0, 0), time, "4", 14, clock);
    EXPECT_EQ(once.code, kSchStartPassed);
    EXPECT_EQ(once.calendar, At(2026, 3, 14, 0, 0));

    // An accepted start keeps its calendar; one more than a step in the past stays refused.
    EXPECT_EQ(Sch_CheckStartWithRetry(At(2026, 3, 14, 0, 0), At(2000, 1, 1, 13, 0), "6", 14, clock).calendar,
              At(2026, 3, 14, 0, 0));
    EXPECT_EQ(Sch_CheckStartWithRetry(At(2026, 3, 1, 0, 0), time, "6", 1, clock).code, kSchStartPassed);
}

TEST(ScheduleStartRetryTest, MonthlyRetryKeepsTheChosenDayWhereTheMonthHasIt) {
    const DateTime time = At(2000, 1, 1, 10, 0);
    struct Case {
        DateTime calendar;
        int monthDay;
        DateTime now;
        DateTime moved;
    };
    const Case cases[] = {
        {At(2026, 1, 31, 0, 0), 31, At(2026, 2, 1, 0, 0), At(2026, 2, 28, 0, 0)},
        {At(2028, 1, 31, 0, 0), 31, At(2028, 2, 1, 0, 0), At(2028, 2, 29, 0, 0)},
        // The calendar was clamped to April 30; May has the 31st again.
        {At(2026, 4, 30, 0, 0), 31, At(2026, 5, 2, 0, 0), At(2026, 5, 31, 0, 0)},
        {At(2026, 12, 15, 0, 0), 15, At(2026, 12, 20, 0, 0), At(2027, 1, 15, 0, 0)},
        // No usable chosen day: the calendar's own day.
        {At(2026, 3, 20, 0, 0), 0, At(2026, 3, 21, 0, 0), At(2026, 4, 20, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(FormatStamp(c.calendar));
        FakeClock clock(c.now);
        const StartCheck check = Sch_CheckStartWithRetry(c.calendar, time, kSchFrequencyMonthly, c.monthDay, clock);
        EXPECT_EQ(check.code, kSchStartAccepted);
        EXPECT_EQ(check.calendar, c.moved);
    }
}

TEST(ScheduleWeekDayAdvanceTest, MovesToTheFirstTickedDayAtTheSameTime) {
    EXPECT_EQ(ValidateAddDay1(kSaturday, "0100000"), "03-16-2026 10:30:00");
    EXPECT_EQ(ValidateAddDay1(kSaturday, "1000000"), "03-15-2026 10:30:00");
    EXPECT_EQ(ValidateAddDay1(kSaturday, "0000010"), "03-20-2026 10:30:00");  // six days, the longest move
    EXPECT_EQ(ValidateAddDay1(kSaturday, "0000001"), kSaturday);
    EXPECT_EQ(ValidateAddDay1(kSaturday, "1111111"), kSaturday);
    // Thursday 12-31-2026 to the first Sunday of the next year.
    EXPECT_EQ(ValidateAddDay1("12-31-2026 08:00:00", "1000000"), "01-03-2027 08:00:00");
    // A stored start with a one-digit hour comes back in the stored form.
    EXPECT_EQ(ValidateAddDay1("03-14-2026 7:05:00", "0100000"), "03-16-2026 07:05:00");
}

TEST(ScheduleWeekDayAdvanceTest, DamagedWeekDaysEndAndGiveADefinedStart) {
    const struct {
        std::string_view weekDays;
        std::string_view expected;
    } cases[] = {
        {"", kSaturday},                          // nothing ticked: the start as chosen
        {"0000000", kSaturday},                   //
        {"2222222", kSaturday},                   // only "1" ticks a day
        {"01", "03-16-2026 10:30:00"},            // short: the missing days are unticked
        {"0100000111", "03-16-2026 10:30:00"},    // long: only seven days count
        {"x1-?abc", "03-16-2026 10:30:00"},       //
        {" 0100000\r\n", "03-16-2026 10:30:00"},  // blanks and line ends around the value
        {std::string_view("\0\x31", 2), "03-16-2026 10:30:00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ValidateAddDay1(kSaturday, c.weekDays), c.expected) << c.weekDays;
    }
}

TEST(ScheduleWeekDayAdvanceTest, StartsThatAreNoRealDateGiveEmpty) {
    EXPECT_EQ(ValidateAddDay1("02-30-2026 10:00:00", "1111111"), "");
    EXPECT_EQ(ValidateAddDay1("garbage", "0100000"), "");
    // Friday 12-31-9999: the next Saturday lies beyond the last representable year.
    EXPECT_EQ(ValidateAddDay1("12-31-9999 10:00:00", "0000001"), "");
    EXPECT_EQ(ValidateAddDay1("12-31-9999 10:00:00", "0000010"), "12-31-9999 10:00:00");
}

TEST(ScheduleSortKeyTest, KeysOfBuiltDatesOrderLikeTheDates) {
    const std::string lastOfYear = Sch_Build_Date(At(2026, 12, 31, 0, 0), At(2000, 1, 1, 23, 59, 59));
    const std::string firstOfYear = Sch_Build_Date(At(2027, 1, 1, 0, 0), At(2000, 1, 1, 0, 0));
    EXPECT_EQ(Sch_SortBuildDate(lastOfYear), "202612312359");
    EXPECT_EQ(Sch_SortBuildDate(firstOfYear), "202701010000");
    EXPECT_LT(Sch_SortBuildDate(lastOfYear), Sch_SortBuildDate(firstOfYear));
    EXPECT_LT(Sch_SortBuildDate("09-30-2026 23:00:00"), Sch_SortBuildDate("10-01-2026 01:00:00"));
    EXPECT_LT(Sch_SortBuildDate(firstOfYear), "300012121503");  // the no-next-run sentinel stays last
}

TEST(ScheduleSortKeyTest, ReadsStoredFormsAndRefusesWhatIsNoDate) {
    EXPECT_EQ(Sch_SortBuildDate("03-07-2026 06:00:00"), "202603070600");
    EXPECT_EQ(Sch_SortBuildDate("12-31-2026 9:05:00"), "202612310905");
    EXPECT_EQ(Sch_SortBuildDate(" 03/07/2026  06:00 "), "202603070600");
    for (const std::string_view text : {"", "03-07-2026", "02-30-2026 10:00:00", "03-07-2026 06:00:00 PM",
                                        "03-07-26 06:00:00", "03-07/2026 06:00:00", "03-07-2026 6:0:00"}) {
        EXPECT_EQ(Sch_SortBuildDate(text), "") << text;
    }
}

TEST(ScheduleBuildDateTest, TakesTheDateFromTheCalendarAndTheTimeFromThePicker) {
    const DateTime calendar = At(2026, 3, 14, 17, 45, 12);
    EXPECT_EQ(Sch_Build_Date(calendar, At(1999, 1, 1, 6, 5, 9)), "03-14-2026 06:05:09");
    EXPECT_EQ(Sch_End_Date(calendar, At(1999, 1, 1, 23, 0, 0)), "03-14-2026 23:00:00");
    EXPECT_EQ(Sch_Build_Date(At(2026, 4, 31, 0, 0), At(1999, 1, 1, 6, 0)), "");
    EXPECT_EQ(Sch_End_Date(calendar, At(1999, 1, 1, 24, 0)), "");
}

TEST(ScheduleSavedRunTest, WeekDayScheduleStartsOnATickedDay) {
    FakeClock clock(At(2026, 3, 13, 8, 0, 7));
    const SavedRunDates dates =
        Sch_SavedRunDates(At(2026, 3, 14, 0, 0), At(2000, 1, 1, 10, 30), " 6 ", "0100000", false, clock);
    EXPECT_EQ(dates.savedAt, "03-13-2026 08:00:07");
    EXPECT_EQ(dates.nextRun, "03-16-2026 10:30:00");
    EXPECT_EQ(dates.sortKey, "202603161030");

    // A day-first user's week-day start is stored as chosen, on the Saturday.
    const SavedRunDates dayFirst =
        Sch_SavedRunDates(At(2026, 3, 14, 0, 0), At(2000, 1, 1, 10, 30), "6", "0100000", true, clock);
    EXPECT_EQ(dayFirst.nextRun, "03-14-2026 10:30:00");
    EXPECT_EQ(dayFirst.sortKey, "202603141030");
}

TEST(ScheduleSavedRunTest, OtherFrequenciesKeepTheStartAndBadStartsGiveNoRun) {
    FakeClock clock(At(2026, 3, 13, 8, 0));
    const DateTime time = At(2000, 1, 1, 10, 30);
    for (const std::string_view frequency : {"5", "4", "1", ""}) {
        const SavedRunDates dates = Sch_SavedRunDates(At(2026, 3, 14, 0, 0), time, frequency, "0100000", false, clock);
        EXPECT_EQ(dates.nextRun, kSaturday) << frequency;
        EXPECT_EQ(dates.sortKey, "202603141030") << frequency;
    }
    EXPECT_EQ(Sch_SavedRunDates(At(2026, 3, 14, 0, 0), time, "6", "0000000", false, clock).nextRun, kSaturday);

    const SavedRunDates bad = Sch_SavedRunDates(At(2026, 2, 30, 0, 0), time, "6", "1111111", false, clock);
    EXPECT_EQ(bad.savedAt, "03-13-2026 08:00:00");
    EXPECT_EQ(bad.nextRun, "");
    EXPECT_EQ(bad.sortKey, "");
}

TEST(ScheduleSavedRunTest, PassedWeekDayStartIsRetriedThenMovedToATickedDay) {
    // Saturday noon, a start picked for 10:00 today with only Saturday ticked: the retry moves the
    // calendar to Sunday, the advance on to the next Saturday.
    FakeClock clock(At(2026, 3, 14, 12, 0));
    const DateTime time = At(2000, 1, 1, 10, 0);
    const StartCheck check = Sch_CheckStartWithRetry(At(2026, 3, 14, 0, 0), time, "6", 14, clock);
    ASSERT_EQ(check.code, kSchStartAccepted);
    EXPECT_EQ(Sch_SavedRunDates(check.calendar, time, "6", "0000001", false, clock).nextRun, "03-21-2026 10:00:00");
}

}  // namespace
}  // namespace ovp
