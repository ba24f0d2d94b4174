#pragma once
// The dates the wizard proposes in its calendar, start-time picker and day-of-month list, and the
// form in which it shows a date to the user.

#include <string>
#include <string_view>

#include "base/datetime.h"
#include "platform/clock.h"

namespace ovp {

struct ProposedStart {
    // The calendar takes its date, the start-time picker its time of day.
    DateTime start;
    // The day selected in the day-of-month list, 1 to 31.
    int monthDay = 1;
};

// On opening: the current record's `NextRun`; the immediate start below when there is no schedule
// file (pass "") or the stored value is not a real date.
ProposedStart Sch_ProposeOpeningStart(std::string_view currentNextRun, IClock& clock);

// "Start backup immediately" and the no-file case: one minute from now, on the day that minute
// falls on (tomorrow when now is the day's last minute).
ProposedStart Sch_ProposeImmediateStart(IClock& clock);

// Ticking or unticking a week day: today, with the picked time kept.
DateTime Sch_CalendarOnWeekDayToggle(const DateTime& pickedStart, IClock& clock);

// Choosing a day in the day-of-month list: that day of the month and year the calendar shows, or
// the month's last day when it is shorter (31 in April gives April 30). A day outside 1 to 31 or
// a calendar that does not hold a real date leaves the calendar as it is.
DateTime Sch_CalendarOnMonthDay(const DateTime& shownCalendar, int monthDay);

// A user date format whose first letter is "d" or "D" is day-first; anything else month-first.
bool IsDayFirstDateFormat(std::string_view userDateFormat);
// The date as the wizard shows it: "dd-mm-yyyy" or "mm-dd-yyyy" by the user's format, with "/"
// instead of "-" when the format uses "/".
std::string Sch_FormatShownDate(const DateTime& date, std::string_view userDateFormat);

}  // namespace ovp
