#include "scheduler/schedule_codes.h"

#include <algorithm>
#include <array>
#include <vector>

#include "base/text.h"
#include "contract/engine_contract.h"

namespace ovp {

namespace {

struct JobKindRow {
    int kind;
    std::string_view jobKind;  // empty for the SQL Server kind: the keyword is the profile's
    std::string_view recordNo;
};

constexpr std::array<JobKindRow, 6> kJobKinds = {{
    {kScheduleKindBackupSet, contract::kJobKindBackupSet, contract::kRecordNoBackupSet},
    {kScheduleKindBackupSetAlso, contract::kJobKindBackupSet, contract::kRecordNoBackupSet},
    {kScheduleKindSqlServer, {}, contract::kRecordNoSqlServer},
    {kScheduleKindSystemState, contract::kJobKindSystemState, contract::kRecordNoSystemState},
    {kScheduleKindExchange, contract::kJobKindExchange, contract::kRecordNoExchange},
    {kScheduleKindExchangeBrick, contract::kJobKindExchangeBrick, contract::kRecordNoExchangeBrick},
}};

const JobKindRow* FindKind(int kind) {
    const auto found =
        std::find_if(kJobKinds.begin(), kJobKinds.end(), [&](const auto& row) { return row.kind == kind; });
    return found == kJobKinds.end() ? nullptr : &*found;
}

constexpr std::size_t kDateLength = 10;  // "mm-dd-yyyy"

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsLetterOrDigitOrBlank(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == ' ';
}

// "9" -> "09"; "" stays "" (and fails the final check).
std::string PadTwo(std::string text) {
    return text.size() == 1 ? "0" + text : text;
}

}  // namespace

int ScheduleKindFromJobKind(std::string_view jobKind) {
    if (jobKind == contract::kJobKindBackupSet) {
        return kScheduleKindBackupSet;
    }
    if (jobKind.substr(0, contract::kJobKindSqlServerPrefix.size()) == contract::kJobKindSqlServerPrefix) {
        return kScheduleKindSqlServer;
    }
    if (jobKind == contract::kJobKindSystemState) {
        return kScheduleKindSystemState;
    }
    if (jobKind == contract::kJobKindExchange) {
        return kScheduleKindExchange;
    }
    if (jobKind == contract::kJobKindExchangeBrick) {
        return kScheduleKindExchangeBrick;
    }
    return kScheduleKindNone;
}

std::string JobKindForScheduleKind(int kind, std::string_view sqlBackupSet) {
    const JobKindRow* row = FindKind(kind);
    if (row == nullptr) {
        return {};
    }
    return std::string(kind == kScheduleKindSqlServer ? sqlBackupSet : row->jobKind);
}

std::string RecordNoForScheduleKind(int kind) {
    const JobKindRow* row = FindKind(kind);
    return row == nullptr ? std::string() : std::string(row->recordNo);
}

void ApplyScheduleKind(ScheduleRecord& record, int kind, std::string_view sqlBackupSet) {
    record.JobKind = JobKindForScheduleKind(kind, sqlBackupSet);
    if (record.RecordNo.empty()) {
        record.RecordNo = RecordNoForScheduleKind(kind);
    }
}

std::string GetFreNameFromIndex(std::string_view code) {
    switch (ParseIntegerOr(code, 0)) {
        case 1:
        case 4:
        case 8:
            return "Once";
        case 2:
            return "Hourly";
        case 3:
            return "Daily";
        case 5:
            return "Monthly";
        case 6:
            return "Week-Day";
        case 7:
            return "Weekend (Sat - Sun)";
        default:
            return {};
    }
}

std::string MakeSortKey(std::string_view text) {
    const std::string trimmed = TrimWhitespace(text);
    const std::string_view dateTime = trimmed;
    // The time separator is the last character that is neither letter, digit nor blank, so a
    // trailing "AM"/"PM" or a missing seconds field does not move it.
    // It must lie after the ten characters of the date, or the hour would come from the date.
    const auto separatorAt = std::find_if_not(dateTime.rbegin(), dateTime.rend(), IsLetterOrDigitOrBlank);
    if (separatorAt == dateTime.rend() || static_cast<std::size_t>(dateTime.rend() - separatorAt) <= kDateLength) {
        return {};
    }
    const std::vector<std::string> pieces = Split(dateTime, std::string_view(&*separatorAt, 1));
    const std::string& first = pieces[0];
    const std::string hour = PadTwo(Trim(first.size() > 2 ? std::string_view(first).substr(first.size() - 2) : first));
    const std::string minute = PadTwo(pieces.size() > 1 ? Trim(pieces[1]) : std::string());
    std::string key;
    key += dateTime.substr(6, 4);
    key += dateTime.substr(0, 2);
    key += dateTime.substr(3, 2);
    key += hour;
    key += minute;
    return IsRealSortKey(key) ? key : std::string();
}

bool IsRealSortKey(std::string_view key) {
    return key.size() == 12 && AllDigits(key);
}

}  // namespace ovp
