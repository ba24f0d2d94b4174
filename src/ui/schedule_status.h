#pragma once
// What the scheduler has done and will do next, in the words of the status window and the tray
// tooltip: the next scheduled backup, the sentence about it or about the last backup, and sizes.

#include <string>
#include <string_view>

#include "app/product_config.h"
#include "base/datetime.h"
#include "platform/code_page.h"
#include "settings/shared_values.h"
#include "settings/transfer.h"

namespace ovp {

// The next scheduled backup as `GetScheduleDate` finds it.
struct NextSchedule {
    // "ScheduleDisable" is "TRUE": nothing was looked up.
    bool disabled = false;
    // The winning record as one line in schedule-file form; "" when there is none.
    std::string line;
    // Its third token, the next backup time; "" when there is none.
    std::string nextRun;
    // "SQL Server", "System State", "Exchange Server", "Exchange Brick Level"; "" for backup sets.
    std::string jobLabel;
};

// Reads the current user's schedule file afresh. Product 2 takes the first record as stored.
NextSchedule GetScheduleDate(SharedValues& values,
                             clsTransfer& transfer,
                             const ProductSettings& settings,
                             ICodePage& codePage);

// "Your next backup will occur on " + " " + time (or with the job label); the time in
// "mm/dd/yyyy hh:mm:ss" when the short-date pattern is day-first with "/", else with "-".
// "" when the time is empty or malformed.
std::string NextBackupSentence(std::string_view nextRun, std::string_view jobLabel, std::string_view shortDatePattern);

struct TimeDifference {
    // "Backup will start in next 3 hour(s).", "Files backed up 2 day(s) ago.", "Backup has failed";
    // "" when there is none.
    std::string sentence;
    // The last scheduled backup ended less than 30 minutes ago.
    bool recent = false;
};

// The sentence about the next start (while "SchEndTime" is empty) or the last backup, from the
// BackupStatus values and SchStatusError.txt of the current user, read afresh.
TimeDifference GetTimeDifference(std::string_view nextRunTime, SharedValues& values, const DateTime& now);

// A byte count in GB, MB or KB with one truncated decimal and the given decimal separator:
// 1536 -> "1.5 KB". Below 1024 bytes the number is shown as it stands, with no unit.
std::string FormatSize(double bytes, std::string_view decimalSeparator);

}  // namespace ovp
