#include "sessionlog/session_log_name.h"

#include <array>
#include <cstdio>

#include "base/text.h"
#include "contract/engine_contract.h"

namespace ovp {

namespace {

// Date (10), blank, time (8) and a four-character extension.
constexpr std::size_t kDateTimeTailChars = 23;

bool IsAlnumAscii(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The runs of letters and digits of a date-time; at most the first six count.
struct DateTimeParts {
    std::array<std::string_view, 6> parts{};
    std::size_t count = 0;
    std::size_t found = 0;  // all of them, also beyond six
};

DateTimeParts SplitDateTime(std::string_view dateTime) {
    DateTimeParts split;
    std::size_t start = std::string_view::npos;
    for (std::size_t i = 0; i <= dateTime.size(); ++i) {
        const bool inPart = i < dateTime.size() && IsAlnumAscii(dateTime[i]);
        if (inPart && start == std::string_view::npos) {
            start = i;
        } else if (!inPart && start != std::string_view::npos) {
            if (split.count < split.parts.size()) {
                split.parts[split.count++] = dateTime.substr(start, i - start);
            }
            ++split.found;
            start = std::string_view::npos;
        }
    }
    return split;
}

// Byte offset of the start of the last `chars` UTF-8 characters; npos when the text is shorter.
std::size_t TailStart(std::string_view text, std::size_t chars) {
    std::size_t offset = text.size();
    std::size_t counted = 0;
    while (counted < chars) {
        if (offset == 0) {
            return std::string_view::npos;
        }
        --offset;
        if ((static_cast<unsigned char>(text[offset]) & 0xC0u) != 0x80u) {
            ++counted;
        }
    }
    return offset;
}

std::optional<int> Number(std::string_view part, int low, int high) {
    const std::optional<long long> value = part.size() <= 4 ? ParseInteger(part) : std::nullopt;
    if (!value || *value < low || *value > high) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

bool IsUnlistedSessionLogKind(std::string_view fileName) {
    const std::string_view name = TrimBlanks(fileName);
    const std::string_view first = TrimBlanks(name.substr(0, name.find(' ')));
    for (const std::string_view kind : contract::kUnlistedSessionLogKinds) {
        if (EqualsNoCase(first, kind)) {
            return true;
        }
    }
    return false;
}

std::optional<SessionLogName> ParseSessionLogName(std::string_view fileName) {
    const std::string_view name = TrimBlanks(fileName);
    // The date-time tail and at least one character before it.
    const std::size_t tail = TailStart(name, kDateTimeTailChars + 1);
    if (name.find(' ') == std::string_view::npos || tail == std::string_view::npos || IsUnlistedSessionLogKind(name)) {
        return std::nullopt;
    }
    const std::size_t dateTimeStart = TailStart(name, kDateTimeTailChars);
    const std::size_t dot = name.find('.', dateTimeStart);
    if (dot == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t offset = static_cast<std::size_t>(name.data() - fileName.data());
    SessionLogName log;
    log.fileName = std::string(fileName);
    log.dateTimeStart = offset + dateTimeStart;
    log.dateTimeLength = dot - dateTimeStart;
    log.sortKey = SessionLogSortKey(log.DateTime());
    const std::size_t lastBlank = name.rfind(' ');
    const std::size_t blankBefore = lastBlank == 0 ? std::string_view::npos : name.rfind(' ', lastBlank - 1);
    log.operationStart = offset;
    log.operationLength = blankBefore == std::string_view::npos ? 0 : blankBefore;
    return log;
}

std::string SessionLogSortKey(std::string_view dateTime) {
    const DateTimeParts split = SplitDateTime(dateTime);
    // Month, day, year, hour, minute, second as written; the key puts the year first.
    constexpr std::array<std::size_t, 6> kKeyOrder = {2, 0, 1, 3, 4, 5};
    std::string key;
    key.reserve(14);
    for (const std::size_t index : kKeyOrder) {
        const std::string_view part = split.parts[index];
        if (part.empty()) {
            key += index == 2 ? "0000" : "00";
        } else {
            if (part.size() == 1) {
                key += '0';
            }
            key += part;
        }
    }
    return key;
}

std::string SessionLogStartTime(std::string_view dateTime) {
    const DateTimeParts split = SplitDateTime(dateTime);
    const auto& parts = split.parts;
    if (split.found != 6 || parts[2].size() != 4) {
        return std::string(dateTime);
    }
    const auto month = Number(parts[0], 1, 12);
    const auto day = Number(parts[1], 1, 31);
    const auto year = Number(parts[2], 1000, 9999);
    const auto hour = Number(parts[3], 0, 23);
    const auto minute = Number(parts[4], 0, 59);
    const auto second = Number(parts[5], 0, 59);
    if (!month || !day || !year || !hour || !minute || !second) {
        return std::string(dateTime);
    }
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%02d-%02d-%04d %d:%02d:%02d", *month, *day, *year, *hour, *minute,
                  *second);
    return text.data();
}

}  // namespace ovp
