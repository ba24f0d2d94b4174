#pragma once
// What the scheduler has done and will do next, in the words of the status window and the tray
// tooltip: the next scheduled backup, the sentence about it or about the last backup, and sizes.

#include <string>
#include <string_view>

#include "base/datetime.h"
#include "contract/product_config.h"
#include "platform/code_page.h"
#include "platform/locale_text.h"
#include "scheduler/schedule_file.h"
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

// Reads the current user's schedule file afresh. The record with the smallest sort key wins, and
// of equal keys the later one in the file. Records without a real twelve-digit key take no part:
// as text an empty key would sort before every real one. Product 2 takes the first record as
// stored, without a label. A missing or unreadable file gives no line.
NextSchedule GetScheduleDate(SharedValues& values,
                             clsTransfer& transfer,
                             const ProductSettings& settings,
                             ICodePage& codePage);
// The same from a reading of the schedule file already made (nullptr: read it now).
NextSchedule GetScheduleDate(SharedValues& values,
                             clsTransfer& transfer,
                             const ProductSettings& settings,
                             ICodePage& codePage,
                             const ScheduleFileReading* schedule);

// The words of the next-backup sentence, in English unless localised.
struct NextBackupWords {
    std::string lead = "Your next backup will occur on ";
    std::string labelLead = "Your next backup";
    std::string labelTail = "will occur on";
};

// The words in the language file where it has them, each fitted to its English room.
NextBackupWords LocalisedNextBackupWords(ILocaleText& texts, std::string_view brandName);

// "Your next backup will occur on " + " " + time, or with a job label "Your next backup" + "(" +
// label + ") " + "will occur on" + " " + time; the time month-first, 24-hour, as
// "mm/dd/yyyy hh:mm:ss" when the short-date pattern is day-first with "/" ("dd/MM/yyyy"), else
// with "-". "" when the time is empty or malformed.
std::string NextBackupSentence(std::string_view nextRun, std::string_view jobLabel, std::string_view shortDatePattern);
std::string NextBackupSentence(std::string_view nextRun,
                               std::string_view jobLabel,
                               std::string_view shortDatePattern,
                               const NextBackupWords& words);

// The words of the sentence about the next start or the last backup, in English unless localised.
struct TimeWords {
    std::string futurePrefix = "Backup will start in next";
    std::string pastPrefix = "Files backed up";
    std::string futureDays = " day(s).";
    std::string futureHours = " hour(s).";
    std::string futureMinutes = " minute(s).";
    std::string pastDays = " day(s) ago.";
    std::string pastHours = " hour(s) ago.";
    std::string pastMinutes = " minute(s) ago.";
    std::string failed = "Backup has failed";
};

// The words in the language file where it has them; the units as translations keep them, without
// the full stop, which is added.
TimeWords LocalisedTimeWords(ILocaleText& texts, std::string_view brandName);

struct TimeDifference {
    // "Backup will start in next 3 hour(s).", "Files backed up 2 day(s) ago.", "Backup has failed";
    // "" when there is none.
    std::string sentence;
    // The last scheduled backup ended less than 30 minutes ago.
    bool recent = false;
};

// The sentence about the next start (while "SchEndTime" is empty) or the last backup, from the
// BackupStatus values and SchStatusError.txt of the current user, read afresh. Times count to
// the minute on the real calendar, so the count carries across months and years (Dec 31 23:50 to
// Jan 1 00:10 is 20 minutes). The count is given in whole days when at least one day, else whole
// hours, else minutes, and less than a minute counts as 1. The next start is told only while
// "StatusWindow" is "0" or empty, and one that has already passed gives no sentence; a last backup stamped in the
// future counts as just now. SchStatusError.txt replaces the sentence by "Backup has failed" but leaves the flag as
// counted.
TimeDifference GetTimeDifference(std::string_view nextRunTime,
                                 SharedValues& values,
                                 const DateTime& now,
                                 const TimeWords& words = TimeWords{});

// A byte count in GB, MB or KB with one truncated decimal and the given decimal separator
// ("." when empty): 1536 -> "1.5 KB", 1073741824 -> "1.0 GB". Below 1024 the whole bytes with
// " Bytes": 512 -> "512 Bytes". A negative, infinite or not-a-number count gives "".
std::string FormatSize(double bytes, std::string_view decimalSeparator);

}  // namespace ovp
