#include "defaults/default_schedule.h"

#include "contract/engine_contract.h"
#include "scheduler/schedule_codes.h"
#include "scheduler/schedule_dates.h"
#include "scheduler/schedule_file.h"
#include "scheduler/schedule_table.h"
#include "scheduler/schedule_time_draws.h"

namespace ovp {

namespace {

constexpr std::string_view kDefaultMonthDay = "3";
constexpr std::string_view kDefaultJobFlag = "1";
constexpr std::string_view kAttachNoLog = "0";
constexpr std::string_view kNotifyNever = "1";
constexpr std::string_view kEveryWeekDay = "1111111";
constexpr std::size_t kSeparatorsPerRecord = 11;

// A record the engine can run: its line has the twelve tokens and its next run is a real date and
// time. Only such a record is the user's own schedule; a damaged one schedules nothing.
bool IsRunnableRecord(const ScheduleTable& table, std::size_t index) {
    const std::string* line = table.LoadedLine(index);
    if (line == nullptr || !ReadScheduleStamp(table.Record(index).NextRun)) {
        return false;
    }
    std::size_t separators = 0;
    for (std::size_t at = line->find(contract::kScheduleSeparator); at != std::string::npos;
         at = line->find(contract::kScheduleSeparator, at + contract::kScheduleSeparator.size())) {
        ++separators;
    }
    return separators == kSeparatorsPerRecord;
}

}  // namespace

ScheduleRecord MakeDefaultScheduleRecord(const DateTime& start, const DateTime& now) {
    // Every day is ticked, so the start needs no move to a ticked day.
    std::string nextRun = Sch_Build_Date(start, start);
    std::string sortKey = nextRun.empty() ? std::string() : MakeSortKey(nextRun);
    // Built whole rather than assigned field by field, which GCC 12 misreads as overlapping copies.
    return ScheduleRecord{
        .RecordNo = std::string(contract::kRecordNoBackupSet),
        .JobKind = std::string(contract::kJobKindBackupSet),
        .NextRun = std::move(nextRun),
        .SavedAt = FormatStamp(now),
        .MonthDay = std::string(kDefaultMonthDay),
        .JobFlag = std::string(kDefaultJobFlag),
        .MailList = std::string(),
        .AttachLog = std::string(kAttachNoLog),
        .MailNotify = std::string(kNotifyNever),
        .SortKey = std::move(sortKey),
        .Frequency = std::string(kSchFrequencyWeekDays),
        .WeekDays = std::string(kEveryWeekDay),
    };
}

DefaultScheduleResult WriteDefaultSchedule(const std::filesystem::path& userFolder,
                                           ICodePage& codePage,
                                           IClock& clock,
                                           IRandom& random) {
    try {
        // The whole file is loaded, not only counted: a table of empty places would write back
        // nothing but the default and lose the other jobs' records.
        ScheduleTable table(ScheduleFilePath(userFolder));
        DB_ReadAllRecord(table, codePage);
        if (table.IsUnreadable()) {
            return DefaultScheduleResult::Failed;
        }
        // A damaged backup-set record takes the default in its place rather than a second
        // record of the same kind beside it.
        const auto existing = table.FindJobKind(contract::kJobKindBackupSet);
        if (existing && IsRunnableRecord(table, *existing)) {
            return DefaultScheduleResult::AlreadyScheduled;
        }
        const DateTime start = Sch_DefaultStart(random, clock);
        table.Current() = MakeDefaultScheduleRecord(start, clock.Now());
        if (table.Current().NextRun.empty()) {
            return DefaultScheduleResult::Failed;
        }
        table.SetCurrentIndex(existing.value_or(table.ScheduleCount()));
        if (!table.StoreCurrent()) {
            return DefaultScheduleResult::Failed;
        }
        return DB_WriteAllRecord(table, codePage, ScheduleWriter::FirstRun).Succeeded() ? DefaultScheduleResult::Written
                                                                                        : DefaultScheduleResult::Failed;
    } catch (...) {
        return DefaultScheduleResult::Failed;
    }
}

}  // namespace ovp
