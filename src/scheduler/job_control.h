#pragma once
// The monitor's side of running scheduled jobs: whether one runs now, and the newest session log
// of a scheduled backup. The engine writes every value read here from its own processes at any
// time, so each call reads them afresh.

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/locale_text.h"
#include "settings/shared_values.h"

namespace ovp {

// Localised text id of the word that starts the session log name of a scheduled backup.
inline constexpr int kScheduledLogWordTextId = 1105;
inline constexpr std::string_view kScheduledLogWordDefault = "Scheduled";

// The answer of IsScheduledJobRunning that means a scheduled job runs.
inline constexpr std::int16_t kScheduledJobRunning = 1;

// What the running-job test leaves behind for the rest of the program.
struct ScheduledJobMemory {
    // The last job result code (`RetValue`) seen by the test; 0 when there was none.
    std::int64_t retValue = 0;
    // The text the continuous-backup control and the re-login procedure share; emptied while a
    // scheduled job runs.
    std::string sharedStatusText;
};

// `Status` of the BackupStatus section as a number, 0 when the user's schedule file is missing,
// the value is empty or it is no 16-bit whole number. 1 means a scheduled job runs.
std::int16_t IsScheduledJobRunning(SharedValues& values, ScheduledJobMemory& memory);

// The name of the newest file in folder whose name starts with the localised word "Scheduled";
// "" when there is none (or the folder cannot be read).
std::string FindLatestScheduledLog(const std::filesystem::path& folder, ILocaleText& texts);

}  // namespace ovp
