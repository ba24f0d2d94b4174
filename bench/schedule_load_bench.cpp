// Loading and rewriting a schedule of 10,000 records from a real file. The manager reloads the
// file before every action, so a load must stay far below what a user would notice.

#include <benchmark/benchmark.h>

#include "scheduler/schedule_file.h"
#include "support/fake_code_page.h"
#include "support/temp_dir.h"

namespace {

constexpr std::size_t kRecords = 10000;

ovp::ScheduleTable TenThousandRecords(const std::filesystem::path& file) {
    ovp::ScheduleTable table(file);
    table.SetScheduleCount(kRecords);
    for (std::size_t i = 0; i < kRecords; ++i) {
        ovp::ScheduleRecord& record = table.Record(i);
        record.RecordNo = std::to_string(i % 5 + 1);
        record.JobKind = "SQLSERVERBACKUP" + std::to_string(i);
        record.NextRun = "03-07-2026 06:00:00";
        record.SavedAt = "03-01-2026 10:11:12";
        record.MonthDay = "3";
        record.JobFlag = "1";
        record.MailList = "ops@example.com;backup@example.com;";
        record.AttachLog = "1";
        record.MailNotify = "3";
        record.SortKey = std::to_string(202603070600 + static_cast<long long>(i));
        record.Frequency = "6";
        record.WeekDays = "1111111";
    }
    return table;
}

void BM_LoadTenThousandRecords(benchmark::State& state) {
    ovp::test::TempDir dir;
    ovp::test::FakeCodePage codePage;
    const auto file = ovp::ScheduleFilePath(dir.Path());
    ovp::ScheduleTable written = TenThousandRecords(file);
    if (!ovp::DB_WriteAllRecord(written, codePage, ovp::ScheduleWriter::Manager).Succeeded()) {
        state.SkipWithError("could not write the schedule");
        return;
    }
    for (auto _ : state) {
        ovp::ScheduleTable table(file);
        benchmark::DoNotOptimize(ovp::DB_ReadAllRecord(table, codePage));
        if (table.ScheduleCount() != kRecords) {
            state.SkipWithError("records lost");
        }
    }
}
BENCHMARK(BM_LoadTenThousandRecords)->Unit(benchmark::kMillisecond);

void BM_RewriteTenThousandRecordsOneChanged(benchmark::State& state) {
    ovp::test::TempDir dir;
    ovp::test::FakeCodePage codePage;
    const auto file = ovp::ScheduleFilePath(dir.Path());
    ovp::ScheduleTable written = TenThousandRecords(file);
    ovp::DB_WriteAllRecord(written, codePage, ovp::ScheduleWriter::Manager);
    ovp::ScheduleTable table(file);
    ovp::DB_ReadAllRecord(table, codePage);
    for (auto _ : state) {
        table.Record(0).MonthDay = table.Record(0).MonthDay == "3" ? "4" : "3";
        benchmark::DoNotOptimize(ovp::DB_WriteAllRecord(table, codePage, ovp::ScheduleWriter::Wizard));
    }
}
BENCHMARK(BM_RewriteTenThousandRecordsOneChanged)->Unit(benchmark::kMillisecond);

}  // namespace
