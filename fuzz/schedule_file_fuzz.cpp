// scheduleData.txt as the engine or a damaged disk may leave it: any bytes load without harm,
// a rewrite of an untouched table gives back the same records, and a table rebuilt from those
// records (every line re-encoded) reads back the same as well.

#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/files.h"
#include "base/text.h"
#include "scheduler/schedule_file.h"

namespace {

using ovp::ScheduleRecord;
using ovp::ScheduleTable;
using ovp::ScheduleWriter;
using ovp::ScheduleWriteStatus;

// Latin-1: every byte is its own character, so decoding and encoding are exact inverses and any
// difference after a round trip is the file layer's.
class Latin1CodePage : public ovp::ICodePage {
  public:
    std::string AnsiToUtf8(std::string_view bytes) override {
        std::u32string points(bytes.begin(), bytes.end());
        for (auto& point : points) {
            point &= 0xFF;
        }
        return ovp::CodePointsToUtf8(points);
    }
    ovp::AnsiText Utf8ToAnsi(std::string_view utf8) override {
        ovp::AnsiText result;
        for (const char32_t point : ovp::Utf8ToCodePoints(utf8)) {
            result.exact = result.exact && point <= 0xFF;
            result.bytes += point <= 0xFF ? static_cast<char>(point) : '?';
        }
        return result;
    }
};

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// One folder per fuzzing process, removed when it ends.
class FuzzFolder {
  public:
    FuzzFolder() : folder_(std::filesystem::temp_directory_path() / ("schedule-fuzz-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(folder_);
    }
    ~FuzzFolder() {
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }
    std::filesystem::path File() const { return ovp::ScheduleFilePath(folder_); }

  private:
    std::filesystem::path folder_;
};

const std::filesystem::path& File() {
    static const FuzzFolder folder;
    static const std::filesystem::path file = folder.File();
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
