#include "sessionlog/session_log_name.h"

#include <array>
#include <cstdio>
#include <vector>

#include "base/text.h"
#include "contract/engine_contract.h"

namespace ovp {

namespace {

// Date (10), blank, time (8) and a four-character extension.
constexpr std::size_t kDateTimeTailChars = 23;

bool IsAlnumAscii(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::vector<std::string> DateTimeParts(std::string_view dateTime) {
    std::vector<std::string> parts;
    std::string part;
    for (const char c : dateTime) {
        if (IsAlnumAscii(c)) {
            part += c;
        } else if (!part.empty()) {
            parts.push_back(std::move(part));
            part.clear();
        }
    }
    if (!part.empty()) {
        parts.push_back(std::move(part));
    }
    return parts;
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

std::optional<int> Number(const std::string& part, int low, int high) {
    const std::optional<long long> value = part.size() <= 4 ? ParseInteger(part) : std::nullopt;
    if (!value || *value < low || *value > high) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

}  // namespace

bool IsUnlistedSessionLogKind(std::string_view fileName) {
    const std::string first = Trim(fileName.substr(0, fileName.find(' ')));
    for (const std::string_view kind : contract::kUnlistedSessionLogKinds) {
        if (EqualsNoCase(first, kind)) {
            return true;
        }
    }
    return false;
}

std::optional<SessionLogName> ParseSessionLogName(std::string_view fileName) {
    const std::string name = Trim(fileName);
    // The date-time tail and at least one character before it.
    const std::size_t tail = TailStart(name, kDateTimeTailChars + 1);
    if (name.find(' ') == std::string::npos || tail == std::string::npos || IsUnlistedSessionLogKind(name)) {
        return std::nullopt;
    }
    const std::string_view dateTimeTail = std::string_view(name).substr(TailStart(name, kDateTimeTailChars));
    const std::size_t dot = dateTimeTail.find('.');
    if (dot == std::string_view::npos) {
        return std::nullopt;
    }
    SessionLogName log;
    log.fileName = std::string(fileName);
    log.dateTime = std::string(dateTimeTail.substr(0, dot));
    log.sortKey = SessionLogSortKey(log.dateTime);
    const std::size_t lastBlank = name.rfind(' ');
    const std::size_t blankBefore = lastBlank == 0 ? std::string::npos : name.rfind(' ', lastBlank - 1);
    if (blankBefore != std::string::npos) {
        log.operation = name.substr(0, blankBefore);
    }
    return log;
}

std::string SessionLogSortKey(std::string_view dateTime) {
    std::vector<std::string> parts = DateTimeParts(dateTime);
    for (std::string& part : parts) {
        if (part.size() == 1) {
            part = std::string(1, '0') + part;
        }
    }
    parts.resize(6);
    // Month, day, year, hour, minute, second as written; the key puts the year first.
    constexpr std::array<std::size_t, 6> kKeyOrder = {2, 0, 1, 3, 4, 5};
    std::string key;
    for (const std::size_t index : kKeyOrder) {
        key += parts[index].empty() ? std::string(index == 2 ? "0000" : "00") : parts[index];
    }
    return key;
}

std::string SessionLogStartTime(std::string_view dateTime) {
    const std::vector<std::string> parts = DateTimeParts(dateTime);
    if (parts.size() != 6 || parts[2].size() != 4) {
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
