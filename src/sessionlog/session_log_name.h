#pragma once
// What the name of a session log says. The engine names each log
// "<operation words> <mm-dd-yyyy> <HH-mm-ss>.<ext>": the last 23 characters are the date, the time
// and a four-character extension, so a name is read from its end.

#include <optional>
#include <string>
#include <string_view>

namespace ovp {

// A folder may hold a hundred thousand logs: a listed name keeps one copy of its text and finds
// its parts in it.
struct SessionLogName {
    std::string fileName;  // as it is in the folder
    std::string sortKey;   // yyyymmddHHMMSS: string order is time order

    // The name without its last two blank-separated tokens.
    std::string_view Operation() const { return std::string_view(fileName).substr(operationStart, operationLength); }
    // The last 23 characters of the name up to their first ".".
    std::string_view DateTime() const { return std::string_view(fileName).substr(dateTimeStart, dateTimeLength); }

    std::size_t operationStart = 0;
    std::size_t operationLength = 0;
    std::size_t dateTimeStart = 0;
    std::size_t dateTimeLength = 0;
};

// The log's parts; nullopt for a name that is not a listed log: no blank, too short to hold the
// date-time and extension, no "." in its last 23 characters, or one of the unlisted kinds.
std::optional<SessionLogName> ParseSessionLogName(std::string_view fileName);

// The first word of the name, trimmed, is one of the kinds the viewer never lists (any case).
bool IsUnlistedSessionLogKind(std::string_view fileName);

// The date-time split at every character that is neither a digit nor a letter, one-digit parts
// padded: year, month, day, hour, minute and second (month first, as the engine writes them).
std::string SessionLogSortKey(std::string_view dateTime);

// "mm-dd-yyyy H:mm:ss", read month first whatever the user's locale; the text as it is when it is
// not such a date and time.
std::string SessionLogStartTime(std::string_view dateTime);

}  // namespace ovp
