#pragma once
// The codes inside a schedule record: job kinds, frequency display names and the sort key.

#include <string>
#include <string_view>

#include "scheduler/schedule_record.h"

namespace ovp {

// The schedule kind the wizard and the manager work with (0: not a job kind we know).
inline constexpr int kScheduleKindNone = 0;
inline constexpr int kScheduleKindBackupSet = 1;
inline constexpr int kScheduleKindSqlServer = 2;
inline constexpr int kScheduleKindBackupSetAlso = 4;  // saved exactly as kind 1
inline constexpr int kScheduleKindSystemState = 5;
inline constexpr int kScheduleKindExchange = 6;
inline constexpr int kScheduleKindExchangeBrick = 8;

// The kind of an existing record, read from its keyword (case as stored); 0 when unknown.
int ScheduleKindFromJobKind(std::string_view jobKind);
// The keyword of a kind; the SQL Server kind takes the profile's SQLBACKUPSET. "" when unknown.
std::string JobKindForScheduleKind(int kind, std::string_view sqlBackupSet);
// The RecordNo a new record of the kind gets; "" when unknown.
std::string RecordNoForScheduleKind(int kind);
// The save step: the keyword from the kind, and RecordNo only when the record has none yet (an
// existing number is the engine's and stays).
void ApplyScheduleKind(ScheduleRecord& record, int kind, std::string_view sqlBackupSet);

// Display name of a frequency code ("6" -> "Week-Day"); "" for a code we do not know.
std::string GetFreNameFromIndex(std::string_view code);

// yyyymmddHHMM of a stored "mm-dd-yyyy HH:mm:ss": the year, month and day by position, the hour
// and minute around the time separator, one-digit values padded ("12-31-2026 9:05:00" gives
// "202612310905"). Blanks around the text do not count. "" when the text does not give twelve
// digits.
std::string MakeSortKey(std::string_view dateTime);
// Whether key is a real sort key (twelve ASCII digits). Anything else, the empty key included,
// orders nowhere: as text "" would sort before every real next run.
bool IsRealSortKey(std::string_view key);

}  // namespace ovp
