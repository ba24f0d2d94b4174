#include "scheduler/schedule_time_draws.h"

#include <chrono>
#include <cmath>
#include <cstdint>

namespace ovp {

namespace {

constexpr int kLastHour = 23;
constexpr int kLastAmHour = 6;

// An index in [0, count) from one draw; values outside [0, 1), NaN included, are held to the ends.
int DrawIndex(IRandom& random, int count) {
    const double value = random.Uniform();
    if (!(value > 0.0)) {
        return 0;
    }
    if (value >= 1.0) {
        return count - 1;
    }
    const int index = static_cast<int>(std::floor(value * count));
    return index < count ? index : count - 1;
}

DateTime OnTheHour(const DateTime& day, int hour) {
    return DateTime{day.year, day.month, day.day, hour, 0, 0};
}

}  // namespace

int DrawOffPeakHour(IRandom& random) {
    // Twelve equal chances: 1 AM to 6 AM, 7 PM to 11 PM, and "12 PM" taken as 11 PM.
    const int hour = DrawIndex(random, 12) + 1;
    if (hour <= kLastAmHour) {
        return hour;
    }
    return hour == 12 ? kLastHour : hour + 12;
}

DateTime Sch_RecommendedStart(IRandom& random, IClock& clock) {
    return OnTheHour(clock.Now(), DrawOffPeakHour(random));
}

DateTime Sch_DefaultStart(IRandom& random, IClock& clock) {
    const DateTime now = clock.Now();
    const auto nowSeconds = now.ToLocalSeconds().time_since_epoch().count();
    random.Seed(static_cast<std::uint64_t>(nowSeconds) ^ (clock.TickMs() << 20));

    const int hour = DrawOffPeakHour(random);
    const DateTime start = hour <= kLastAmHour ? OnTheHour(now.AddDays(1), hour) : OnTheHour(now, hour);
    if (start > now) {
        return start;
    }
    // One more draw among the hours still to come today, so the result is known to be later.
    if (now.hour < kLastHour) {
        return OnTheHour(now, now.hour + 1 + DrawIndex(random, kLastHour - now.hour));
    }
    return OnTheHour(now.AddDays(1), DrawIndex(random, kLastAmHour) + 1);
}

}  // namespace ovp
