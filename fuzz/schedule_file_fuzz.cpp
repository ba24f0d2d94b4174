// scheduleData.txt as the engine or a damaged disk may leave it: any bytes load without harm,
// a rewrite of an untouched table gives back the same records, and a table rebuilt from those
// records (every line re-encoded) reads back the same as well.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/files.h"
#include "base/text.h"
#include "fuzz_support.h"
#include "scheduler/schedule_file.h"

namespace {

using ovp::ScheduleRecord;
using ovp::ScheduleTable;
using ovp::ScheduleWriter;
using ovp::ScheduleWriteStatus;

using ovp::fuzz::Check;
using ovp::fuzz::FuzzFolder;
using Latin1CodePage = ovp::fuzz::Latin1CodePage;

const std::filesystem::path& File() {
    static const FuzzFolder folder("schedule-fuzz");
    static const std::filesystem::path file = ovp::ScheduleFilePath(folder.Path());
    return file;
}

std::vector<ScheduleRecord> Reload(Latin1CodePage& codePage) {
    ScheduleTable table(File());
    const std::size_t smallest = ovp::DB_ReadAllRecord(table, codePage);
    Check(smallest == 0 || smallest < table.ScheduleCount());
    return table.Records();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Latin1CodePage codePage;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Check(ovp::ReplaceFileBytes(File(), bytes));
    Check(ovp::CountRecords(File()) == Reload(codePage).size() || bytes.empty());

    ScheduleTable table(File());
    ovp::DB_ReadAllRecord(table, codePage);
    Check(!table.IsUnreadable());
    const std::vector<ScheduleRecord> loaded = table.Records();

    // What a rewrite keeps: every line but the blank ones.
    std::vector<ScheduleRecord> kept;
    std::vector<ScheduleRecord> withKeyword;
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        if (!(loaded[i].JobKind.empty() && ovp::TrimWhitespace(*table.LoadedLine(i)).empty())) {
            kept.push_back(loaded[i]);
        }
        if (!loaded[i].JobKind.empty()) {
            withKeyword.push_back(loaded[i]);
        }
    }

    // Untouched table: the lines go back as they were read.
    const auto untouched = ovp::DB_WriteAllRecord(table, codePage, ScheduleWriter::Wizard);
    Check(untouched.status == (kept.empty() ? ScheduleWriteStatus::Removed : ScheduleWriteStatus::Written));
    Check(Reload(codePage) == kept);

    // Rebuilt table: every record re-encoded from its fields.
    ScheduleTable rebuilt(File());
    rebuilt.SetScheduleCount(loaded.size());
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        rebuilt.Record(i) = loaded[i];
    }
    const auto result = ovp::DB_WriteAllRecord(rebuilt, codePage, ScheduleWriter::Manager);
    Check(result.status != ScheduleWriteStatus::NotRepresentable);
    if (result.status == ScheduleWriteStatus::BreaksLayout) {
        // Only a field that really holds a line break (a lone CR read from the file) is refused.
        Check(result.record && ovp::CheckScheduleLine(loaded[*result.record]) != ovp::ScheduleLineProblem::None);
        return 0;
    }
    Check(result.Succeeded());
    Check(Reload(codePage) == withKeyword);
    return 0;
}
