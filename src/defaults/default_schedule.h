#pragma once
// The default schedule of a user's first run: the user's backup set, every day of the week, at an
// off-peak hour drawn for this user so that new users do not all start at the same time.

#include <filesystem>

#include "base/datetime.h"
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/random.h"
#include "scheduler/schedule_record.h"

namespace ovp {

// The record for a first start at `start`, saved at `now`. Empty `NextRun` and `SortKey` when
// start is not a real date and time.
ScheduleRecord MakeDefaultScheduleRecord(const DateTime& start, const DateTime& now);

enum class DefaultScheduleResult {
    Written,
    // The file already schedules the user's backup set: that schedule is the user's (perhaps
    // set in the wizard since the first run began) and stays as it is.
    AlreadyScheduled,
    Failed,
};

// Adds the default record to the user's scheduleData.txt, keeping every record the file holds and
// its line 1 (the run marker of a job the engine may be running).
DefaultScheduleResult WriteDefaultSchedule(const std::filesystem::path& userFolder,
                                           ICodePage& codePage,
                                           IClock& clock,
                                           IRandom& random);

}  // namespace ovp
