// Building an error report with its logs attached: every attached file is a megabyte (half of
// them the monitor's own UTF-16 traces), yet the report reads each only as far as its share of
// the body, so building it stays far below the 100 ms that would make the window feel stuck.

#include <benchmark/benchmark.h>

#include <string>

#include "../tests/unit/commands/command_test_env.h"
#include "report/log_attachment.h"
#include "report/report_body.h"
#include "support/fake_locale_format.h"
#include "support/fake_report_system.h"

namespace {

constexpr std::size_t kFileBytes = 1024 * 1024;

std::string LogText(int seed) {
    std::string text;
    for (int line = 0; text.size() < kFileBytes; ++line) {
        text += "03-01-2026 10:" + std::to_string(line % 60) + ":00  [INFORMATION] Backup step " +
                std::to_string(line * seed) + " of job \"Documents\" completed in C:\\Users\\alice\\Documents\r\n";
    }
    return text;
}

// The sixteen files: the fifteen the body attaches and one more log read the same way.
class ReportFiles {
  public:
    ReportFiles() {
        const char* const userFiles[] = {
            "Log/Backup_Restore_log.log", "TraceFile.txt",        "Log/Grp BackupUI.txt",  "ITraceFile.txt",
            "SerTraceFile.txt",           "ContextMenuTrace.txt", "ScheduleTraceFile.txt", "TrayTraceFile.txt",
            "scheduleData.txt",           "WebMgmt.Log",          "atbkupfolderlist.txt",  "AutoFileSelection.txt"};
        const char* const appFiles[] = {"Log/OVShell.txt", "Log/RealtimeTrace.txt", "VSSTraceFile.txt", "extra.log"};
        int seed = 1;
        for (const char* name : userFiles) {
            Write(fx.UserFile(""), name, seed++);
        }
        for (const char* name : appFiles) {
            Write(fx.fx.app, name, seed++);
        }
    }
    void Write(const std::filesystem::path& folder, const char* name, int seed) {
        const std::string text = LogText(seed);
        const auto file = folder / ovp::PathFromUtf8(name);
        ovp::CreateFolders(file.parent_path());
        // Every second file as the monitor writes its own traces: UTF-16 with its byte-order mark.
        ovp::test::WriteAll(file, seed % 2 == 0 ? ovp::Utf16LeBytes(u"\uFEFF" + ovp::Utf8ToUtf16(text)) : text);
        files.push_back(file);
    }

    ovp::test::CommandFixture fx;
    std::vector<std::filesystem::path> files;
};

void BM_BuildReportWithLogs(benchmark::State& state) {
    ReportFiles files;
    ovp::test::FakeReportSystem system;
    ovp::test::FakeLocaleFormat locale;
    std::size_t bodyBytes = 0;
    std::uint64_t read = 0;
    for (auto _ : state) {
        ovp::ErrorReportBody body(files.fx.Context(), system, locale);
        const std::string text = body.Build(ovp::ReportForm{"me@example.com", "", "It fails."}, true);
        // The sixteenth file, read as the body reads each of its own.
        std::uint64_t extraRead = 0;
        const auto extra =
            ovp::ReadLogForReport(files.files.back(), files.fx.fx.codePage, files.fx.fx.clock, &extraRead);
        benchmark::DoNotOptimize(extra);
        bodyBytes = text.size() + extra->size();
        read = body.BytesRead() + extraRead;
    }
    state.counters["body_bytes"] = static_cast<double>(bodyBytes);
    state.counters["read_bytes_per_file"] = static_cast<double>(read) / 16.0;
}

BENCHMARK(BM_BuildReportWithLogs)->Unit(benchmark::kMillisecond);

}  // namespace
