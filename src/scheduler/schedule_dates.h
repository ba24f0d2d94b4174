#pragma once
// The date rules the monitor applies when it builds or checks a schedule record: the start and
// cut-off texts from the wizard's pickers, how far in the past a start may lie, the move of a
// week-day start to a ticked day, the next run of a saved record and the twelve-digit sort key.
//
// The pickers are plain values here: `calendar` is the calendar's date (its time of day is
// ignored), `startTime` and `cutOffTime` are the time pickers (their dates are ignored).

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "base/datetime.h"
#include "platform/clock.h"
#include "scheduler/schedule_codes.h"

namespace ovp {

// Answers of the start-time check.
inline constexpr int kSchStartAccepted = 100;
inline constexpr int kSchStartPassed = 108;
// How far in the past a start may lie and still be accepted.
inline constexpr int kSchStartGraceMinutes = 10;

// The record's `Frequency` codes that the date rules treat specially.
inline constexpr std::string_view kSchFrequencyMonthly = "5";
inline constexpr std::string_view kSchFrequencyWeekDays = "6";

// The seven week days, Sunday first, true where ticked.
using WeekDayTable = std::array<bool, 7>;

// Reads `WeekDays` leniently: position i is ticked only when it holds "1"; missing positions are
// unticked and anything after the seventh is ignored, so a damaged value still gives a table.
WeekDayTable ParseWeekDays(std::string_view weekDays);
std::string FormatWeekDays(const WeekDayTable& table);

// Reads a stored date-time: "mm-dd-yyyy" (or with "/") and a time "H:mm" or "HH:mm:ss" after
// blanks. nullopt when malformed or when the date or time does not exist (February 30).
std::optional<DateTime> ReadScheduleStamp(std::string_view text);

// The date of `date` with the time of day of `time`.
DateTime JoinDateAndTime(const DateTime& date, const DateTime& time);

// "mm-dd-yyyy HH:mm:ss" of the calendar date and the start time; "" when either does not exist.
std::string Sch_Build_Date(const DateTime& calendar, const DateTime& startTime);
// The same calendar date with the cut-off time; "" when either does not exist.
std::string Sch_End_Date(const DateTime& calendar, const DateTime& cutOffTime);

// The sort key of a stored date-time: one rule for the wizard, the status window and the records.
inline std::string Sch_SortBuildDate(std::string_view dateTime) {
    return MakeSortKey(dateTime);
}

// 100 while start + ten minutes is not earlier than now, to the minute; 108 when the start has
// passed or cannot be read.
int Sch_CheckStart(const DateTime& start, const DateTime& now);
int Schwiz_validate_Start4(std::string_view start, IClock& clock);

// The start moved forward, at the same time of day, to the first ticked week day (the start's own
// day included); at most six days. Unchanged when no day is ticked; nullopt when the result
// would leave the calendar.
std::optional<DateTime> AdvanceToWeekDay(const DateTime& start, const WeekDayTable& table);
// The same on stored texts; "" when the start cannot be read.
std::string ValidateAddDay1(std::string_view start, std::string_view weekDays);

// The check of a start with the one automatic retry of the wizard's save: a week-day schedule
// moves the calendar a day forward, a monthly one a month forward (to `monthDay`, clamped to the
// month's last day), and the start is checked again.
struct StartCheck {
    int code = kSchStartPassed;
    // The calendar date the start was last checked on: the date to show and to save.
    DateTime calendar;
};
StartCheck Sch_CheckStartWithRetry(const DateTime& calendar,
                                   const DateTime& startTime,
                                   std::string_view frequency,
                                   int monthDay,
                                   IClock& clock);

// The dates the wizard's save writes into the record.
struct SavedRunDates {
    std::string savedAt;
    std::string nextRun;
    std::string sortKey;
};
// `NextRun` is the built start, moved to a ticked day for a week-day schedule of a user whose
// date format is month-first; a day-first user's start is stored as chosen, which is how the
// records of such users have always been written. Empty `NextRun` and `SortKey` when the start
// does not exist.
SavedRunDates Sch_SavedRunDates(const DateTime& calendar,
                                const DateTime& startTime,
                                std::string_view frequency,
                                std::string_view weekDays,
                                bool dayFirstFormat,
                                IClock& clock);

}  // namespace ovp
