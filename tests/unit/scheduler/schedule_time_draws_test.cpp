#include "scheduler/schedule_time_draws.h"

#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "support/fake_random.h"
#include "support/fakes.h"

namespace ovp {
namespace {

using test::FakeClock;
using test::ScriptedRandom;

DateTime At(int year, int month, int day, int hour, int minute, int second = 0) {
    return DateTime{year, month, day, hour, minute, second};
}

double Twelfth(int index) {
    return ScriptedRandom::Bucket(index, 12);
}

TEST(OffPeakHourTest, TwelveEqualChancesGiveTheNightHoursWithElevenPmTwice) {
    const std::vector<int> expected{1, 2, 3, 4, 5, 6, 19, 20, 21, 22, 23, 23};
    for (int bucket = 0; bucket < 12; ++bucket) {
        ScriptedRandom random{Twelfth(bucket)};
        EXPECT_EQ(DrawOffPeakHour(random), expected[static_cast<std::size_t>(bucket)]) << bucket;
    }
    // The edges of the buckets.
    ScriptedRandom edges{0.0, 6.0 / 12, std::nextafter(6.0 / 12, 0.0), std::nextafter(1.0, 0.0)};
    EXPECT_EQ(DrawOffPeakHour(edges), 1);
    EXPECT_EQ(DrawOffPeakHour(edges), 19);
    EXPECT_EQ(DrawOffPeakHour(edges), 6);
    EXPECT_EQ(DrawOffPeakHour(edges), 23);
}

TEST(OffPeakHourTest, ASourceOutsideItsRangeStillGivesAnOffPeakHour) {
    ScriptedRandom random{
        1.0, 7.5, 1e308, std::numeric_limits<double>::infinity(), -0.2, std::numeric_limits<double>::quiet_NaN()};
    for (const int expected : {23, 23, 23, 23, 1, 1}) {
        EXPECT_EQ(DrawOffPeakHour(random), expected);
    }
}

TEST(RecommendedStartTest, TodayOnTheDrawnHourEvenWhenItHasPassed) {
    FakeClock clock(At(2026, 3, 14, 9, 30, 12));
    ScriptedRandom random{Twelfth(6), Twelfth(0)};
    EXPECT_EQ(Sch_RecommendedStart(random, clock), At(2026, 3, 14, 19, 0));
    EXPECT_EQ(Sch_RecommendedStart(random, clock), At(2026, 3, 14, 1, 0));
    EXPECT_TRUE(random.seeds.empty());
}

TEST(DefaultStartTest, AmHoursAreTomorrowAndPmHoursToday) {
    FakeClock clock(At(2026, 12, 31, 9, 30));
    ScriptedRandom am{Twelfth(2)};
    EXPECT_EQ(Sch_DefaultStart(am, clock), At(2027, 1, 1, 3, 0));
    ScriptedRandom pm{Twelfth(9)};
    EXPECT_EQ(Sch_DefaultStart(pm, clock), At(2026, 12, 31, 22, 0));
    EXPECT_EQ(pm.draws, 1);
    ASSERT_EQ(pm.seeds.size(), 1u);  // seeded from the clock before the draw
}

TEST(DefaultStartTest, APmHourThatHasComeIsRedrawnAfterThePresentHour) {
    FakeClock clock(At(2026, 3, 14, 21, 30));
    ScriptedRandom low{Twelfth(6), 0.0};
    EXPECT_EQ(Sch_DefaultStart(low, clock), At(2026, 3, 14, 22, 0));
    EXPECT_EQ(low.draws, 2);
    ScriptedRandom high{Twelfth(8), 0.99};
    EXPECT_EQ(Sch_DefaultStart(high, clock), At(2026, 3, 14, 23, 0));

    // Equal to now is not later.
    clock.Set(At(2026, 3, 14, 22, 0, 0));
    ScriptedRandom equal{Twelfth(9), 0.0};
    EXPECT_EQ(Sch_DefaultStart(equal, clock), At(2026, 3, 14, 23, 0));
}

TEST(DefaultStartTest, AfterElevenPmTheRedrawFallsOnTomorrowMorning) {
    FakeClock clock(At(2026, 12, 31, 23, 0, 0));
    ScriptedRandom random{Twelfth(11), ScriptedRandom::Bucket(2, 6)};
    EXPECT_EQ(Sch_DefaultStart(random, clock), At(2027, 1, 1, 3, 0));
    clock.Set(At(2026, 2, 28, 23, 59, 59));
    ScriptedRandom last{Twelfth(10), 0.999};
    EXPECT_EQ(Sch_DefaultStart(last, clock), At(2026, 3, 1, 6, 0));
}

TEST(DefaultStartTest, EveryDrawAtEveryTimeOfDayIsLaterThanNowAndWithinADay) {
    for (int minuteOfDay = 0; minuteOfDay < 24 * 60; minuteOfDay += 7) {
        const DateTime now = At(2026, 3, 14, minuteOfDay / 60, minuteOfDay % 60, minuteOfDay % 60);
        FakeClock clock(now);
        for (int first = 0; first < 12; ++first) {
            for (const double second : {0.0, 0.5, 0.999}) {
                ScriptedRandom random{Twelfth(first), second};
                const DateTime start = Sch_DefaultStart(random, clock);
                ASSERT_TRUE(start.IsValid());
                ASSERT_GT(start, now) << FormatStamp(now) << " bucket " << first;
                ASSERT_LE(start.ToLocalSeconds() - now.ToLocalSeconds(), std::chrono::hours{31});
                ASSERT_EQ(start.minute, 0);
            }
        }
    }
}

}  // namespace
}  // namespace ovp
