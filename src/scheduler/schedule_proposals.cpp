#include "scheduler/schedule_proposals.h"

#include <cstdio>

#include "base/text.h"
#include "scheduler/schedule_dates.h"

namespace ovp {

ProposedStart Sch_ProposeOpeningStart(std::string_view currentNextRun, IClock& clock) {
    if (const auto stored = ReadScheduleStamp(currentNextRun)) {
        return ProposedStart{*stored, stored->day};
    }
    return Sch_ProposeImmediateStart(clock);
}

ProposedStart Sch_ProposeImmediateStart(IClock& clock) {
    // The calendar follows the minute across midnight: today's date with 00:00 would be a start
    // almost a day in the past, refused on save.
    const DateTime start = clock.Now().AddMinutes(1);
    return ProposedStart{start, start.day};
}

DateTime Sch_CalendarOnWeekDayToggle(const DateTime& pickedStart, IClock& clock) {
    return JoinDateAndTime(clock.Now(), pickedStart);
}

DateTime Sch_CalendarOnMonthDay(const DateTime& shownCalendar, int monthDay) {
    if (monthDay < 1 || monthDay > 31 || !shownCalendar.IsValid()) {
        return shownCalendar;
    }
    DateTime moved = shownCalendar;
    const int last = DaysInMonth(moved.year, moved.month);
    moved.day = monthDay < last ? monthDay : last;
    return moved;
}

bool IsDayFirstDateFormat(std::string_view userDateFormat) {
    const std::string trimmed = Trim(userDateFormat);
    return !trimmed.empty() && ToLowerAscii(trimmed.front()) == 'd';
}

std::string Sch_FormatShownDate(const DateTime& date, std::string_view userDateFormat) {
    const char separator = userDateFormat.find('/') != std::string_view::npos ? '/' : '-';
    const bool dayFirst = IsDayFirstDateFormat(userDateFormat);
    char text[32];
    std::snprintf(text, sizeof text, "%02d%c%02d%c%04d", dayFirst ? date.day : date.month, separator,
                  dayFirst ? date.month : date.day, separator, date.year);
    return text;
}

}  // namespace ovp
