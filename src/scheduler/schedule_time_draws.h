#pragma once
// The drawn start times: the recommended off-peak hour of the wizard and the start of the default
// schedule written at a user's first run. Both spread the users' backups over the quiet hours.

#include "base/datetime.h"
#include "platform/clock.h"
#include "platform/random.h"

namespace ovp {

// An off-peak hour on the 24-hour clock: 1 to 6 (AM) or 19 to 23 (PM), 23 twice as likely as
// each other hour. A source that answers outside [0, 1) is held to the nearest end.
int DrawOffPeakHour(IRandom& random);

// The recommended start: today at a drawn off-peak hour, on the hour. Only its time of day
// replaces the start-time picker.
DateTime Sch_RecommendedStart(IRandom& random, IClock& clock);

// The default schedule's first start, later than now: a drawn PM hour today or a drawn AM hour
// tomorrow. When today's PM hour has already come, an hour after the present one is drawn
// instead, and after 23:00 an AM hour of tomorrow. Seeds the source from the clock first.
DateTime Sch_DefaultStart(IRandom& random, IClock& clock);

}  // namespace ovp
