#include "base/datetime.h"

#include <cstdio>

#include "base/text.h"

namespace ovp {

using namespace std::chrono;

bool DateTime::IsValid() const {
    const year_month_day date{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                              std::chrono::day{static_cast<unsigned>(day)}};
    return year >= 1 && year <= 9999 && date.ok() && hour >= 0 && hour < 24 && minute >= 0 && minute < 60 &&
           second >= 0 && second < 60;
}

local_seconds DateTime::ToLocalSeconds() const {
    const local_days date{std::chrono::year{year} / std::chrono::month{static_cast<unsigned>(month)} /
                          std::chrono::day{static_cast<unsigned>(day)}};
    return date + hours{hour} + minutes{minute} + seconds{second};
}

DateTime DateTime::FromLocalSeconds(local_seconds at) {
    const auto date = floor<days>(at);
    const year_month_day ymd{date};
    const hh_mm_ss time{at - date};
    return DateTime{static_cast<int>(ymd.year()),
                    static_cast<int>(static_cast<unsigned>(ymd.month())),
                    static_cast<int>(static_cast<unsigned>(ymd.day())),
                    static_cast<int>(time.hours().count()),
                    static_cast<int>(time.minutes().count()),
                    static_cast<int>(time.seconds().count())};
}

DateTime DateTime::AddSeconds(long long secondsToAdd) const {
    return FromLocalSeconds(ToLocalSeconds() + seconds{secondsToAdd});
}

int DateTime::WeekDay() const {
    const weekday wd{local_days{std::chrono::year{year} / std::chrono::month{static_cast<unsigned>(month)} /
                                std::chrono::day{static_cast<unsigned>(day)}}};
    return static_cast<int>(wd.c_encoding()) + 1;
}

int DaysInMonth(int year, int month) {
    if (month < 1 || month > 12) {
        return 0;
    }
    const year_month_day_last last{std::chrono::year{year} / std::chrono::month{static_cast<unsigned>(month)} /
                                   std::chrono::last};
    return static_cast<int>(static_cast<unsigned>(last.day()));
}

std::string FormatStamp(const DateTime& at) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d %02d:%02d:%02d", at.month, at.day, at.year, at.hour, at.minute,
                  at.second);
    return text;
}

std::optional<DateTime> ParseStamp(std::string_view text) {
    const std::string trimmed = TrimWhitespace(text);
    if (trimmed.size() != 19) {
        return std::nullopt;
    }
    auto number = [&](std::size_t at, std::size_t width) -> int {
        int value = 0;
        for (std::size_t i = at; i < at + width; ++i) {
            if (trimmed[i] < '0' || trimmed[i] > '9') {
                return -1;
            }
            value = value * 10 + (trimmed[i] - '0');
        }
        return value;
    };
    const char d1 = trimmed[2];
    const char d2 = trimmed[5];
    if (!((d1 == '-' && d2 == '-') || (d1 == '/' && d2 == '/')) || trimmed[10] != ' ' || trimmed[13] != ':' ||
        trimmed[16] != ':') {
        return std::nullopt;
    }
    DateTime at{number(6, 4), number(0, 2), number(3, 2), number(11, 2), number(14, 2), number(17, 2)};
    if (!at.IsValid()) {
        return std::nullopt;
    }
    return at;
}

}  // namespace ovp
