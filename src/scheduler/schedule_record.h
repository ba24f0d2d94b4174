#pragma once
// One scheduled job as a line of scheduleData.txt: twelve text tokens joined by two backspaces.
//
// In memory the fields stand in the order the scheduler has always used; the file has
// `MailNotify` before `AttachLog` (tokens 7 and 8). The engine reads the file order, so that
// exchange is made in exactly one place: kScheduleFileOrder below.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace ovp {

struct ScheduleRecord {
    std::string RecordNo;    // job kind number, "1".."5"
    std::string JobKind;     // job keyword; empty marks a deleted record
    std::string NextRun;     // "mm-dd-yyyy HH:mm:ss"
    std::string SavedAt;     // "mm-dd-yyyy HH:mm:ss"
    std::string MonthDay;    // "1".."31"
    std::string JobFlag;     // the engine's; carried unchanged
    std::string MailList;    // each address followed by ";"
    std::string AttachLog;   // "1" attach the log extract, "0" not
    std::string MailNotify;  // "1" never, "2" on failure, "3" always
    std::string SortKey;     // yyyymmddHHMM of NextRun
    std::string Frequency;   // frequency code
    std::string WeekDays;    // seven "0"/"1", Sunday first

    bool operator==(const ScheduleRecord&) const = default;
};

inline constexpr std::size_t kScheduleTokenCount = 12;

// The fields in file (token) order.
inline constexpr std::array<std::string ScheduleRecord::*, kScheduleTokenCount> kScheduleFileOrder = {
    &ScheduleRecord::RecordNo,  &ScheduleRecord::JobKind, &ScheduleRecord::NextRun,   &ScheduleRecord::SavedAt,
    &ScheduleRecord::MonthDay,  &ScheduleRecord::JobFlag, &ScheduleRecord::MailList,  &ScheduleRecord::MailNotify,
    &ScheduleRecord::AttachLog, &ScheduleRecord::SortKey, &ScheduleRecord::Frequency, &ScheduleRecord::WeekDays,
};

// Reads one record line (UTF-8, without its line end). Each token is the text before the next
// separator; the twelfth is the rest of the line, separators included. Missing tokens are empty.
ScheduleRecord ParseScheduleLine(std::string_view line);

// Why a record cannot become a line.
enum class ScheduleLineProblem {
    None,
    // A line break anywhere, or in tokens 0 to 10 a separator or a final backspace: the line
    // would read back as other records or other fields.
    BreaksLayout,
};

ScheduleLineProblem CheckScheduleLine(const ScheduleRecord& record);
// The record's line in file order (UTF-8, without line end). Check it first: this joins blindly.
std::string FormatScheduleLine(const ScheduleRecord& record);

}  // namespace ovp
