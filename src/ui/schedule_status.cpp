#include "ui/schedule_status.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/files.h"
#include "base/resume_next.h"
#include "base/text.h"
#include "contract/engine_contract.h"
#include "contract/locale_file.h"
#include "scheduler/schedule_codes.h"
#include "scheduler/schedule_dates.h"
#include "scheduler/schedule_file.h"
#include "scheduler/schedule_record.h"
#include "scheduler/schedule_table.h"
#include "ui/captions.h"

namespace ovp {

namespace {

constexpr std::string_view kTrue = "TRUE";

constexpr std::string_view kLabelSqlServer = "SQL Server";
constexpr std::string_view kLabelSystemState = "System State";
constexpr std::string_view kLabelExchange = "Exchange Server";
constexpr std::string_view kLabelExchangeBrick = "Exchange Brick Level";

// Localised text ids of the sentences' words.
constexpr int kTextNextBackup = 984;
constexpr int kTextNextBackupLabelLead = 5013;
constexpr int kTextNextBackupLabelTail = 5014;
constexpr int kTextBackupFailed = 5008;
constexpr int kTextFuturePrefix = 5020;
constexpr int kTextPastPrefix = 5021;
constexpr int kTextFutureDays = 5022;
constexpr int kTextFutureHours = 5023;
constexpr int kTextFutureMinutes = 5024;
constexpr int kTextPastDays = 5025;
constexpr int kTextPastHours = 5026;
constexpr int kTextPastMinutes = 5027;

constexpr long long kMinutesPerHour = 60;
constexpr long long kMinutesPerDay = 24 * kMinutesPerHour;
constexpr long long kRecentMinutes = 30;

std::string JobLabel(std::string_view jobKind) {
    switch (ScheduleKindFromJobKind(jobKind)) {
        case kScheduleKindSqlServer:
            return std::string(kLabelSqlServer);
        case kScheduleKindSystemState:
            return std::string(kLabelSystemState);
        case kScheduleKindExchange:
            return std::string(kLabelExchange);
        case kScheduleKindExchangeBrick:
            return std::string(kLabelExchangeBrick);
        default:
            return {};
    }
}

// Line 2 of the file (its first record) without its line end, as the code page reads it.
std::string SecondLine(const std::optional<std::string>& bytes, ICodePage& codePage) {
    if (!bytes) {
        return {};
    }
    std::string_view rest = *bytes;
    const auto firstEnd = rest.find('\n');
    if (firstEnd == std::string_view::npos) {
        return {};
    }
    rest.remove_prefix(firstEnd + 1);
    std::string_view line = rest.substr(0, rest.find('\n'));
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) {
        line.remove_suffix(1);
    }
    return codePage.AnsiToUtf8(line);
}

NextSchedule FromRecord(ScheduleRecord record) {
    NextSchedule next;
    next.jobLabel = JobLabel(record.JobKind);
    // The engine's own backup set may hold a start written by another hand ("3/7/2026 6:00");
    // the sentence wants the stored form. A "D..." value is not a date and stays.
    if (record.JobKind == contract::kJobKindBackupSet && !StartsWithNoCase(record.NextRun, "D")) {
        if (const auto at = ReadScheduleStamp(record.NextRun)) {
            record.NextRun = FormatStamp(*at);
        }
    }
    next.nextRun = record.NextRun;
    next.line = FormatScheduleLine(record);
    return next;
}

// Minutes since the clock's epoch of a twelve-digit yyyymmddHHMM key; nullopt when the key is
// not a real date and time.
std::optional<long long> MinutesOfKey(std::string_view key) {
    if (!IsRealSortKey(key)) {
        return std::nullopt;
    }
    const auto digits = [&](std::size_t at, std::size_t count) {
        return static_cast<int>(ParseIntegerOr(key.substr(at, count), 0));
    };
    const DateTime at{digits(0, 4), digits(4, 2), digits(6, 2), digits(8, 2), digits(10, 2), 0};
    if (!at.IsValid()) {
        return std::nullopt;
    }
    return std::chrono::floor<std::chrono::minutes>(at.ToLocalSeconds()).time_since_epoch().count();
}

std::optional<long long> MinutesOf(const DateTime& at) {
    if (!at.IsValid()) {
        return std::nullopt;
    }
    return std::chrono::floor<std::chrono::minutes>(at.ToLocalSeconds()).time_since_epoch().count();
}

struct Units {
    std::string_view days, hours, minutes;
};

// prefix + " " + count + unit, in the largest unit that the difference fills at least once.
std::string CountSentence(std::string_view prefix, long long minutes, const Units& units) {
    long long count = minutes;
    std::string_view unit = units.minutes;
    if (minutes >= kMinutesPerDay) {
        count = minutes / kMinutesPerDay;
        unit = units.days;
    } else if (minutes >= kMinutesPerHour) {
        count = minutes / kMinutesPerHour;
        unit = units.hours;
    }
    return std::string(prefix) + " " + std::to_string(count) + std::string(unit);
}

TimeDifference TimeDifferenceFrom(std::string_view nextRunTime,
                                  SharedValues& values,
                                  const DateTime& now,
                                  const TimeWords& words) {
    TimeDifference result;
    const std::string endTime = Trim(values.ReadProfile(contract::kBackupStatusSection, contract::kSchEndTime));
    const auto nowMinutes = MinutesOf(now);
    if (endTime.empty()) {
        const std::string statusWindow =
            Trim(values.ReadProfile(contract::kBackupStatusSection, contract::kStatusWindow));
        const auto startMinutes = MinutesOfKey(Sch_SortBuildDate(nextRunTime));
        if ((statusWindow.empty() || statusWindow == "0") && startMinutes && nowMinutes) {
            const long long ahead = *startMinutes - *nowMinutes;
            // A start that has passed is one the engine has not moved on yet: counting it as
            // negative time ahead would say nothing true.
            if (ahead >= 0) {
                result.sentence = CountSentence(words.futurePrefix, ahead == 0 ? 1 : ahead,
                                                Units{words.futureDays, words.futureHours, words.futureMinutes});
            }
        }
    } else if (const auto endMinutes = MinutesOfKey(Sch_SortBuildDate(endTime)); endMinutes && nowMinutes) {
        // An end stamped ahead of the clock (the clock was put back) is as recent as it gets.
        const long long ago = *nowMinutes > *endMinutes ? *nowMinutes - *endMinutes : 0;
        result.recent = ago < kRecentMinutes;
        result.sentence = CountSentence(words.pastPrefix, ago == 0 ? 1 : ago,
                                        Units{words.pastDays, words.pastHours, words.pastMinutes});
    }
    if (FileExists(values.UserFolder() / PathFromUtf8(contract::kSchStatusErrorFile))) {
        result.sentence = words.failed;
    }
    return result;
}

// Value truncated to one decimal, with its unit.
std::string Scaled(double bytes, double unit, std::string_view unitText, std::string_view separator) {
    // Tenths from whole bytes in integers where they fit: 1.1 GB computed in doubles can land a
    // hair below 11 tenths and print as "1.0".
    constexpr double kExactLimit = 1e18;
    long long tenths = 0;
    if (bytes < kExactLimit) {
        const auto whole = static_cast<unsigned long long>(bytes);
        tenths = static_cast<long long>(whole * 10ULL / static_cast<unsigned long long>(unit));
    } else {
        const double value = std::floor(bytes / unit * 10.0);
        if (value >= 9e18) {
            return {};
        }
        tenths = static_cast<long long>(value);
    }
    return std::to_string(tenths / 10) + std::string(separator) + std::to_string(tenths % 10) + " " +
           std::string(unitText);
}

}  // namespace

NextSchedule GetScheduleDate(SharedValues& values,
                             clsTransfer& transfer,
                             const ProductSettings& settings,
                             ICodePage& codePage) {
    return GetScheduleDate(values, transfer, settings, codePage, nullptr);
}

NextSchedule GetScheduleDate(SharedValues& values,
                             clsTransfer& transfer,
                             const ProductSettings& settings,
                             ICodePage& codePage,
                             const ScheduleFileReading* schedule) {
    return ResumeNextOr(
        [&] {
            NextSchedule next;
            if (Trim(transfer.Trf_ReadUserProfile(contract::kScheduleDisable)) == kTrue) {
                next.disabled = true;
                return next;
            }
            const std::filesystem::path file = ScheduleFilePath(values.UserFolder());
            std::optional<ScheduleFileReading> fresh;
            if (schedule == nullptr) {
                fresh = ReadScheduleFile(file);
            }
            const ScheduleFileReading& reading = schedule != nullptr ? *schedule : *fresh;
            if (settings.productNumber == 2) {
                next.line = SecondLine(reading.bytes, codePage);
                next.nextRun = ParseScheduleLine(next.line).NextRun;
                return next;
            }
            ScheduleTable table(file);
            DB_ReadAllRecord(table, codePage, reading);
            std::string minimum(contract::kNoNextRunSortKey);
            std::optional<std::size_t> winner;
            for (std::size_t index = 0; index < table.ScheduleCount(); ++index) {
                const ScheduleRecord& record = table.Record(index);
                // An empty or damaged key would sort first as text; it names no time.
                if (record.JobKind.empty() || !IsRealSortKey(record.SortKey)) {
                    continue;
                }
                if (record.SortKey <= minimum) {
                    minimum = record.SortKey;
                    winner = index;
                }
            }
            return winner ? FromRecord(table.Record(*winner)) : next;
        },
        NextSchedule{});
}

std::string NextBackupSentence(std::string_view nextRun, std::string_view jobLabel, std::string_view shortDatePattern) {
    return NextBackupSentence(nextRun, jobLabel, shortDatePattern, NextBackupWords{});
}

std::string NextBackupSentence(std::string_view nextRun,
                               std::string_view jobLabel,
                               std::string_view shortDatePattern,
                               const NextBackupWords& words) {
    const std::string trimmed = Trim(nextRun);
    if (trimmed.empty()) {
        return {};
    }
    const auto at = ReadScheduleStamp(trimmed);
    if (!at) {
        return {};
    }
    const bool daySlash = shortDatePattern.size() >= 3 && (shortDatePattern[0] == 'D' || shortDatePattern[0] == 'd') &&
                          shortDatePattern[2] == '/';
    std::string time = FormatStamp(*at);  // "mm-dd-yyyy HH:mm:ss"
    if (daySlash) {
        time[2] = '/';
        time[5] = '/';
    }
    if (jobLabel.empty()) {
        return words.lead + " " + time;
    }
    return words.labelLead + "(" + std::string(jobLabel) + ") " + words.labelTail + " " + time;
}

TimeDifference GetTimeDifference(std::string_view nextRunTime,
                                 SharedValues& values,
                                 const DateTime& now,
                                 const TimeWords& words) {
    return ResumeNextOr([&] { return TimeDifferenceFrom(nextRunTime, values, now, words); }, TimeDifference{});
}

NextBackupWords LocalisedNextBackupWords(ILocaleText& texts, std::string_view brandName) {
    NextBackupWords words;
    words.lead = WindowCaption(texts, kTextNextBackup, words.lead, brandName);
    words.labelLead = WindowCaption(texts, kTextNextBackupLabelLead, words.labelLead, brandName);
    words.labelTail = WindowCaption(texts, kTextNextBackupLabelTail, words.labelTail, brandName);
    return words;
}

TimeWords LocalisedTimeWords(ILocaleText& texts, std::string_view brandName) {
    TimeWords words;
    const auto text = [&](int id, std::string& word) { word = LocaleStringOr(texts, id, word, brandName); };
    const auto unit = [&](int id, std::string& word) { word = LocalisedUnit(texts, id, word, brandName); };
    text(kTextFuturePrefix, words.futurePrefix);
    text(kTextPastPrefix, words.pastPrefix);
    text(kTextBackupFailed, words.failed);
    unit(kTextFutureDays, words.futureDays);
    unit(kTextFutureHours, words.futureHours);
    unit(kTextFutureMinutes, words.futureMinutes);
    unit(kTextPastDays, words.pastDays);
    unit(kTextPastHours, words.pastHours);
    unit(kTextPastMinutes, words.pastMinutes);
    return words;
}

std::string FormatSize(double bytes, std::string_view decimalSeparator) {
    constexpr double kKB = 1024.0;
    constexpr double kMB = 1048576.0;
    constexpr double kGB = 1073741824.0;
    if (!std::isfinite(bytes) || bytes < 0) {
        return {};
    }
    const std::string_view separator = decimalSeparator.empty() ? std::string_view(".") : decimalSeparator;
    if (bytes >= kGB) {
        return Scaled(bytes, kGB, "GB", separator);
    }
    if (bytes >= kMB) {
        return Scaled(bytes, kMB, "MB", separator);
    }
    if (bytes >= kKB) {
        return Scaled(bytes, kKB, "KB", separator);
    }
    return std::to_string(static_cast<long long>(bytes)) + " Bytes";
}

}  // namespace ovp
