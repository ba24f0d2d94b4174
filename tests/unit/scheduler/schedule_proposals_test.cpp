#include "scheduler/schedule_proposals.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace ovp {
namespace {

using test::FakeClock;

DateTime At(int year, int month, int day, int hour, int minute, int second = 0) {
    return DateTime{year, month, day, hour, minute, second};
}

TEST(ScheduleProposalTest, OpeningShowsTheStoredNextRunOrOneMinuteFromNowAndTogglingKeepsTheTime) {
    FakeClock clock(At(2026, 3, 14, 9, 30, 15));
    const ProposedStart stored = Sch_ProposeOpeningStart("03-20-2026 06:00:00", clock);
    EXPECT_EQ(std::tie(stored.start, stored.monthDay), std::tuple(At(2026, 3, 20, 6, 0), 20));
    for (const std::string_view nextRun : {"", "garbage", "02-30-2026 10:00:00"}) {
        const ProposedStart fresh = Sch_ProposeOpeningStart(nextRun, clock);
        EXPECT_EQ(std::tie(fresh.start, fresh.monthDay), std::tuple(At(2026, 3, 14, 9, 31, 15), 14)) << nextRun;
    }
    EXPECT_EQ(Sch_CalendarOnWeekDayToggle(At(2026, 4, 2, 6, 15, 5), clock), At(2026, 3, 14, 6, 15, 5));

    // An immediate start in the day's last minute falls on tomorrow.
    clock.Set(At(2026, 12, 31, 23, 59, 30));
    const ProposedStart immediate = Sch_ProposeImmediateStart(clock);
    EXPECT_EQ(std::tie(immediate.start, immediate.monthDay), std::tuple(At(2027, 1, 1, 0, 0, 30), 1));
}

TEST(ScheduleProposalTest, DayListMovesTheCalendarWithinTheShownMonth) {
    const struct {
        DateTime shown;
        int monthDay;
        DateTime expected;
    } cases[] = {
        {At(2026, 3, 10, 8, 0), 31, At(2026, 3, 31, 8, 0)},
        {At(2026, 4, 10, 8, 0), 31, At(2026, 4, 30, 8, 0)},
        {At(2026, 2, 10, 8, 0), 29, At(2026, 2, 28, 8, 0)},
        // Nothing sensible to move to: the calendar stays.
        {At(2026, 4, 10, 8, 0), 0, At(2026, 4, 10, 8, 0)},
        {At(2026, 4, 10, 8, 0), 32, At(2026, 4, 10, 8, 0)},
        {At(2026, 2, 30, 8, 0), 5, At(2026, 2, 30, 8, 0)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Sch_CalendarOnMonthDay(c.shown, c.monthDay), c.expected)
            << FormatStamp(c.shown) << " day " << c.monthDay;
    }
}

TEST(ScheduleProposalTest, ShownDatesFollowTheUsersDateFormat) {
    const DateTime date = At(2026, 3, 4, 0, 0);
    EXPECT_EQ(Sch_FormatShownDate(date, "dd/MM/yyyy"), "04/03/2026");
    EXPECT_EQ(Sch_FormatShownDate(date, " D-M-yyyy"), "04-03-2026");
    EXPECT_EQ(Sch_FormatShownDate(date, "MM/dd/yyyy"), "03/04/2026");
    EXPECT_EQ(Sch_FormatShownDate(date, ""), "03-04-2026");
}

}  // namespace
}  // namespace ovp
