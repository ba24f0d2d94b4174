#include "scheduler/schedule_dates.h"

#include <chrono>
#include <cstdio>

#include "base/text.h"

namespace ovp {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value of the digits text[at, at + width); -1 when any of them is not a digit.
int Digits(std::string_view text, std::size_t at, std::size_t width) {
    if (at + width > text.size()) {
        return -1;
    }
    int value = 0;
    for (std::size_t i = at; i < at + width; ++i) {
        if (!IsDigit(text[i])) {
            return -1;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// "H:mm", "HH:mm", "H:mm:ss" or "HH:mm:ss"; false for anything else.
bool ReadTimeOfDay(std::string_view text, DateTime& at) {
    const std::size_t colon = text.find(':');
    if (colon != 1 && colon != 2) {
        return false;
    }
    at.hour = Digits(text, 0, colon);
    at.minute = Digits(text, colon + 1, 2);
    const std::size_t afterMinute = colon + 3;
    if (text.size() == afterMinute) {
        at.second = 0;
    } else if (text.size() == afterMinute + 3 && text[afterMinute] == ':') {
        at.second = Digits(text, afterMinute + 1, 2);
    } else {
        return false;
    }
    return at.hour >= 0 && at.minute >= 0 && at.second >= 0;
}

std::string StampOrEmpty(const std::optional<DateTime>& at) {
    return at ? FormatStamp(*at) : std::string();
}

// The calendar's month moved by one, on monthDay or the month's last day when it is shorter.
DateTime NextMonthOn(const DateTime& calendar, int monthDay) {
    DateTime moved = calendar;
    if (++moved.month > 12) {
        moved.month = 1;
        ++moved.year;
    }
    const int wanted = monthDay >= 1 && monthDay <= 31 ? monthDay : calendar.day;
    const int last = DaysInMonth(moved.year, moved.month);
    moved.day = wanted < last ? wanted : last;
    return moved;
}

}  // namespace

WeekDayTable ParseWeekDays(std::string_view weekDays) {
    const std::string trimmed = TrimWhitespace(weekDays);
    WeekDayTable table{};
    for (std::size_t i = 0; i < table.size() && i < trimmed.size(); ++i) {
        table[i] = trimmed[i] == '1';
    }
    return table;
}

std::string FormatWeekDays(const WeekDayTable& table) {
    std::string text;
    for (const bool ticked : table) {
        text += ticked ? '1' : '0';
    }
    return text;
}

std::optional<DateTime> ReadScheduleStamp(std::string_view text) {
    const std::string trimmed = TrimWhitespace(text);
    // The date has fixed positions: the sort key and the engine take its fields by position.
    constexpr std::size_t kDateLength = 10;
    if (trimmed.size() <= kDateLength || trimmed[kDateLength] != ' ') {
        return std::nullopt;
    }
    const char separator = trimmed[2];
    if ((separator != '-' && separator != '/') || trimmed[5] != separator) {
        return std::nullopt;
    }
    DateTime at{Digits(trimmed, 6, 4), Digits(trimmed, 0, 2), Digits(trimmed, 3, 2), 0, 0, 0};
    const std::size_t timeStart = trimmed.find_first_not_of(' ', kDateLength);
    if (timeStart == std::string::npos || !ReadTimeOfDay(std::string_view(trimmed).substr(timeStart), at) ||
        !at.IsValid()) {
        return std::nullopt;
    }
    return at;
}

DateTime JoinDateAndTime(const DateTime& date, const DateTime& time) {
    return DateTime{date.year, date.month, date.day, time.hour, time.minute, time.second};
}

std::string Sch_Build_Date(const DateTime& calendar, const DateTime& startTime) {
    const DateTime start = JoinDateAndTime(calendar, startTime);
    return start.IsValid() ? FormatStamp(start) : std::string();
}

std::string Sch_End_Date(const DateTime& calendar, const DateTime& cutOffTime) {
    return Sch_Build_Date(calendar, cutOffTime);
}

int Sch_CheckStart(const DateTime& start, const DateTime& now) {
    using std::chrono::floor;
    using std::chrono::minutes;
    if (!start.IsValid()) {
        return kSchStartPassed;
    }
    // Real date arithmetic, so that the grace carries into the next day, month and year; whole
    // minutes, as the picked start is meant to the minute.
    const auto latestAccepted = floor<minutes>(start.ToLocalSeconds()) + minutes{kSchStartGraceMinutes};
    return latestAccepted < floor<minutes>(now.ToLocalSeconds()) ? kSchStartPassed : kSchStartAccepted;
}

int Schwiz_validate_Start4(std::string_view start, IClock& clock) {
    const auto at = ReadScheduleStamp(start);
    return at ? Sch_CheckStart(*at, clock.Now()) : kSchStartPassed;
}

std::optional<DateTime> AdvanceToWeekDay(const DateTime& start, const WeekDayTable& table) {
    if (!start.IsValid()) {
        return std::nullopt;
    }
    // Seven looks cover every week day once; with none ticked there is nothing to move to.
    DateTime day = start;
    for (std::size_t step = 0; step < table.size(); ++step) {
        if (table[static_cast<std::size_t>(day.WeekDay() - 1)]) {
            return day.IsValid() ? std::optional<DateTime>(day) : std::nullopt;
        }
        day = day.AddDays(1);
    }
    return start;
}

std::string ValidateAddDay1(std::string_view start, std::string_view weekDays) {
    const auto at = ReadScheduleStamp(start);
    return at ? StampOrEmpty(AdvanceToWeekDay(*at, ParseWeekDays(weekDays))) : std::string();
}

StartCheck Sch_CheckStartWithRetry(const DateTime& calendar,
                                   const DateTime& startTime,
                                   std::string_view frequency,
                                   int monthDay,
                                   IClock& clock) {
    const DateTime now = clock.Now();
    StartCheck check{Sch_CheckStart(JoinDateAndTime(calendar, startTime), now), calendar};
    if (check.code == kSchStartAccepted || !calendar.IsValid()) {
        return check;
    }
    const std::string code = Trim(frequency);
    if (code == kSchFrequencyWeekDays) {
        check.calendar = calendar.AddDays(1);
    } else if (code == kSchFrequencyMonthly) {
        check.calendar = NextMonthOn(calendar, monthDay);
    }
    check.code = Sch_CheckStart(JoinDateAndTime(check.calendar, startTime), now);
    return check;
}

SavedRunDates Sch_SavedRunDates(const DateTime& calendar,
                                const DateTime& startTime,
                                std::string_view frequency,
                                std::string_view weekDays,
                                bool dayFirstFormat,
                                IClock& clock) {
    SavedRunDates dates;
    dates.savedAt = FormatStamp(clock.Now());
    const DateTime start = JoinDateAndTime(calendar, startTime);
    const bool advance = !dayFirstFormat && Trim(frequency) == kSchFrequencyWeekDays;
    const auto nextRun = advance           ? AdvanceToWeekDay(start, ParseWeekDays(weekDays))
                         : start.IsValid() ? std::optional<DateTime>(start)
                                           : std::nullopt;
    if (nextRun) {
        dates.nextRun = FormatStamp(*nextRun);
        dates.sortKey = MakeSortKey(dates.nextRun);
    }
    return dates;
}

}  // namespace ovp
