#pragma once
// scheduleData.txt, the schedule database the monitor shares with the backup engine.
//
// Line 1 is the run marker, which the engine sets while a scheduled job runs; every further line
// is one record (schedule_record.h). The file is system code-page text with CR LF line ends,
// and it exists exactly while it holds a record: a rewrite that leaves none removes it. The
// monitor only ever replaces the whole file, never holds it open, and reloads it before every
// list, edit, delete or stop: the engine changes it from other processes.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "scheduler/schedule_table.h"

namespace ovp {

// A larger file is not a schedule we wrote (10,000 records take about 1 MB): it is left alone.
inline constexpr std::uintmax_t kMaxScheduleFileBytes = 16u * 1024u * 1024u;

// User folder + "\scheduleData.txt".
std::filesystem::path ScheduleFilePath(const std::filesystem::path& userFolder);

// One reading of the file: whether it was there and, when it could be read, its bytes.
struct ScheduleFileReading {
    bool exists = false;
    std::optional<std::string> bytes;
};
ScheduleFileReading ReadScheduleFile(const std::filesystem::path& file);

// Loads the table from its file and returns the position of the record with the smallest sort
// key; the first of equal keys wins, and 0 when no record has a real key. A missing file loads
// as no records. A file that exists but cannot be read also loads as no records, and the table
// refuses to be written back until a load succeeds.
std::size_t DB_ReadAllRecord(ScheduleTable& table, ICodePage& codePage);
// The same from a reading of the table's file already made.
std::size_t DB_ReadAllRecord(ScheduleTable& table, ICodePage& codePage, const ScheduleFileReading& reading);

// Who rewrites the file; it decides line 1.
enum class ScheduleWriter {
    // Writes "0".
    Manager,
    // Keep line 1 as it stands in the file at the moment of writing ("0" when missing or empty),
    // so a job the engine started after the table was loaded keeps its marker.
    Wizard,
    FirstRun,
};

enum class ScheduleWriteStatus {
    Written,  // the file holds line 1 and the records
    Removed,  // no record was left: the file is gone (or, when it could not be deleted, holds line 1 only)
    // A changed record holds a character the system code page cannot store. The engine reads
    // the file as code-page text, so a replacement "?" would silently become another mail
    // address or another job keyword; nothing is written instead.
    NotRepresentable,
    // A changed record holds a line break, or a separator in a token that is not the last:
    // written, it would read back as other records. Nothing is written.
    BreaksLayout,
    // The last load found the file and could not read it; writing would lose its records.
    Unreadable,
    // The file system refused (the old file is still whole).
    Failed,
};

struct ScheduleWriteResult {
    ScheduleWriteStatus status = ScheduleWriteStatus::Failed;
    // The position of the record that could not be stored.
    std::optional<std::size_t> record;

    bool Succeeded() const { return status == ScheduleWriteStatus::Written || status == ScheduleWriteStatus::Removed; }
};

// Rewrites the file from the table, in table order. A record with an empty `JobKind` is left out
// (that is how a record is deleted). A record that still says what its line said when loaded is
// written as the very bytes it was read from; a damaged line the monitor cannot read therefore
// survives, even without a keyword, until DeleteRecord removes it. The new content replaces the
// old in one step: a crash leaves the old file or the new one, never a part.
ScheduleWriteResult DB_WriteAllRecord(ScheduleTable& table, ICodePage& codePage, ScheduleWriter writer);

// Whether a run marker names no running job: "0", or nothing but blanks (the rewrites of the
// file store an empty marker as "0").
bool IsIdleRunMarker(std::string_view marker);

// Line 1 (the run marker) without its line end; "" when the file is missing, unreadable or empty.
std::string Readfirstline(const std::filesystem::path& file, ICodePage& codePage);

// The number of lines after line 1; 0 when the file is missing.
std::size_t CountRecords(const std::filesystem::path& file);

}  // namespace ovp
