#include "scheduler/schedule_time_draws.h"

#include <cmath>
#include <limits>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "platform/std_random.h"
#include "support/fake_random.h"
#include "support/fakes.h"

namespace ovp {
namespace {

using test::FakeClock;
using test::ScriptedRandom;

DateTime At(int year, int month, int day, int hour, int minute = 0, int second = 0) {
    return DateTime{year, month, day, hour, minute, second};
}

double Twelfth(int index) {
    return ScriptedRandom::Bucket(index, 12);
}

TEST(OffPeakHourTest, TwelveEqualChancesGiveTheNightHoursWithElevenPmTwice) {
    const int expected[] = {1, 2, 3, 4, 5, 6, 19, 20, 21, 22, 23, 23};
    for (int bucket = 0; bucket < 12; ++bucket) {
        ScriptedRandom random{Twelfth(bucket)};
        EXPECT_EQ(DrawOffPeakHour(random), expected[bucket]) << bucket;
    }
    // The edges of the buckets, and a source outside its range.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    ScriptedRandom edges{0.0, 6.0 / 12, std::nextafter(6.0 / 12, 0.0),           std::nextafter(1.0, 0.0),
                         1.0, 7.5,      std::numeric_limits<double>::infinity(), -0.2,
                         nan};
    for (const int hour : {1, 19, 6, 23, 23, 23, 23, 1, 1}) {
        EXPECT_EQ(DrawOffPeakHour(edges), hour);
    }
    // The program's own source reaches every one of the night hours.
    StdRandom real(42);
    std::set<int> hours;
    for (int i = 0; i < 1000; ++i) {
        hours.insert(DrawOffPeakHour(real));
    }
    EXPECT_EQ(hours.size(), 11u);
}

TEST(RecommendedStartTest, TodayOnTheDrawnHourEvenWhenItHasPassed) {
    FakeClock clock(At(2026, 3, 14, 9, 30, 12));
    ScriptedRandom random{Twelfth(6), Twelfth(0)};
    EXPECT_EQ(Sch_RecommendedStart(random, clock), At(2026, 3, 14, 19));
    EXPECT_EQ(Sch_RecommendedStart(random, clock), At(2026, 3, 14, 1));
    EXPECT_TRUE(random.seeds.empty());
}

TEST(DefaultStartTest, AmHoursAreTomorrowPmHoursTodayAndAnHourThatHasComeIsRedrawnLater) {
    const struct {
        DateTime now;
        double first;
        double second;
        DateTime start;
        int draws;
    } cases[] = {
        {At(2026, 12, 31, 9, 30), Twelfth(2), 0.0, At(2027, 1, 1, 3), 1},
        {At(2026, 12, 31, 9, 30), Twelfth(9), 0.0, At(2026, 12, 31, 22), 1},
        {At(2026, 3, 14, 21, 30), Twelfth(6), 0.0, At(2026, 3, 14, 22), 2},
        {At(2026, 3, 14, 21, 30), Twelfth(8), 0.99, At(2026, 3, 14, 23), 2},
        {At(2026, 3, 14, 22, 0), Twelfth(9), 0.0, At(2026, 3, 14, 23), 2},  // equal to now is not later
        // From 11 PM the redraw falls on tomorrow morning.
        {At(2026, 12, 31, 23, 0), Twelfth(11), ScriptedRandom::Bucket(2, 6), At(2027, 1, 1, 3), 2},
        {At(2026, 2, 28, 23, 59, 59), Twelfth(10), 0.999, At(2026, 3, 1, 6), 2},
    };
    for (const auto& c : cases) {
        FakeClock clock(c.now);
        ScriptedRandom random{c.first, c.second};
        EXPECT_EQ(Sch_DefaultStart(random, clock), c.start) << FormatStamp(c.now) << " " << c.first;
        EXPECT_EQ(random.draws, c.draws);
        EXPECT_EQ(random.seeds.size(), 1u);  // seeded from the clock before the draw
    }
}

}  // namespace
}  // namespace ovp
