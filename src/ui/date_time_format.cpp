#include "ui/date_time_format.h"

#include <vector>

#include "base/text.h"

namespace ovp {

namespace {

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& ch : upper) {
        if (ch >= 'a' && ch <= 'z') {
            ch = static_cast<char>(ch - 'a' + 'A');
        }
    }
    return upper;
}

bool IsNumber(std::string_view part) {
    if (part.empty() || part.size() > 9) {
        return false;
    }
    for (const char ch : part) {
        if (ch < '0' || ch > '9') {
            return false;
        }
    }
    return true;
}

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at = text.find(separator); at != std::string_view::npos; at = text.find(separator, start)) {
        parts.emplace_back(text.substr(start, at - start));
        start = at + 1;
    }
    parts.emplace_back(text.substr(start));
    return parts;
}

bool AllNumbers(const std::vector<std::string>& parts) {
    for (const std::string& part : parts) {
        if (!IsNumber(part)) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<std::string> ValidateTalluxDateFormat(std::string_view text, std::string_view dateSeparator) {
    std::string date = Upper(TrimWhitespace(text));
    if (!dateSeparator.empty() && dateSeparator != "-") {
        std::string replaced;
        for (std::size_t at = 0; at < date.size();) {
            if (date.compare(at, dateSeparator.size(), dateSeparator) == 0) {
                replaced += '-';
                at += dateSeparator.size();
            } else {
                replaced += date[at++];
            }
        }
        date = std::move(replaced);
    }
    for (char& ch : date) {
        if (ch == '/' || ch == '.') {
            ch = '-';
        }
    }
    if (!AllNumbers(Split(date, '-'))) {
        return std::nullopt;
    }
    return date;
}

std::optional<std::string> ValidateTalluxTimeFormat(std::string_view text) {
    const std::string upper = Upper(TrimWhitespace(text));
    std::string_view time = upper;
    enum class Half { None, Am, Pm } half = Half::None;
    if (time.ends_with("AM") || time.ends_with("PM")) {
        half = time.ends_with("PM") ? Half::Pm : Half::Am;
        time.remove_suffix(2);
    }
    std::vector<std::string> parts = Split(TrimWhitespace(time), ':');
    if (!AllNumbers(parts)) {
        return std::nullopt;
    }
    if (half != Half::None) {
        const long long hour = ParseIntegerOr(parts.front(), -1);
        // "12:30 AM" is half past midnight and "12:30 PM" half past noon: adding 12 to every PM
        // hour would give 24:30.
        if (hour < 1 || hour > 12) {
            return std::nullopt;
        }
        const long long hour24 = half == Half::Pm ? (hour == 12 ? 12 : hour + 12) : (hour == 12 ? 0 : hour);
        std::string hourText(hour24 < 10 ? 1 : 0, '0');
        hourText += std::to_string(hour24);
        parts.front() = std::move(hourText);
    }
    std::string joined = parts.front();
    for (std::size_t i = 1; i < parts.size(); ++i) {
        joined += ':' + parts[i];
    }
    return joined;
}

}  // namespace ovp
