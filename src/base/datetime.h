#pragma once
// Local date and time as the shared files store it ("mm-dd-yyyy HH:mm:ss").

#include <chrono>
#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace ovp {

struct DateTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;

    auto operator<=>(const DateTime&) const = default;

    // Whether the fields name a real calendar date and time of day.
    bool IsValid() const;

    // Wall-clock seconds, so that arithmetic carries across days, months and years.
    std::chrono::local_seconds ToLocalSeconds() const;
    static DateTime FromLocalSeconds(std::chrono::local_seconds at);

    DateTime AddSeconds(long long seconds) const;
    DateTime AddMinutes(long long minutes) const { return AddSeconds(minutes * 60); }
    DateTime AddDays(long long days) const { return AddSeconds(days * 86400); }
    // 1 = Sunday ... 7 = Saturday.
    int WeekDay() const;
};

// Days of the month (28 to 31); 0 for a month outside 1..12.
int DaysInMonth(int year, int month);

// "mm-dd-yyyy HH:mm:ss", the stored form of every date in shared files and trace lines.
std::string FormatStamp(const DateTime& at);
// Parses "mm-dd-yyyy HH:mm:ss" (also "mm/dd/yyyy"); nullopt when malformed or impossible.
std::optional<DateTime> ParseStamp(std::string_view text);

}  // namespace ovp
