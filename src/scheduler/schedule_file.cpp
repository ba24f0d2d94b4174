#include "scheduler/schedule_file.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "base/files.h"
#include "base/text.h"
#include "contract/engine_contract.h"
#include "scheduler/schedule_codes.h"

namespace ovp {

namespace {

constexpr std::string_view kLineEnd = contract::kScheduleLineEnd;

// Lines as a text reader sees them: cut at LF, one CR before it dropped; a final line end does
// not start another line.
std::vector<std::string_view> SplitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const auto end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        bytes.remove_prefix(end + 1);
    }
    return lines;
}

// ASCII is the same in every ANSI code page, and it is nearly all a schedule holds: such lines
// skip the conversion (two Win32 calls and a wide copy each).
bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string DecodeLine(ICodePage& codePage, std::string_view bytes) {
    return IsAscii(bytes) ? std::string(bytes) : codePage.AnsiToUtf8(bytes);
}

ScheduleRecord ParseLineBytes(ICodePage& codePage, std::string_view bytes) {
    return IsAscii(bytes) ? ParseScheduleLine(bytes) : ParseScheduleLine(codePage.AnsiToUtf8(bytes));
}

AnsiText EncodeLine(ICodePage& codePage, std::string_view utf8) {
    return IsAscii(utf8) ? AnsiText{std::string(utf8), true} : codePage.Utf8ToAnsi(utf8);
}

std::optional<std::string> ReadSchedule(const std::filesystem::path& file) {
    return ReadFileBytes(file, kMaxScheduleFileBytes);
}

// Line 1 as bytes; "" for a missing or empty file, nullopt when the file is there but unreadable.
std::optional<std::string> FirstLineBytes(const std::filesystem::path& file) {
    const auto bytes = ReadSchedule(file);
    if (!bytes) {
        return FileExists(file) ? std::nullopt : std::optional<std::string>(std::string());
    }
    const auto lines = SplitLines(*bytes);
    return lines.empty() ? std::string() : std::string(lines.front());
}

// Line 1 for the rewrite, read now rather than at load time: the engine may have started a job
// in between. nullopt when the current marker cannot be known.
std::optional<std::string> HeaderFor(ScheduleWriter writer, const std::filesystem::path& file) {
    if (writer == ScheduleWriter::Manager) {
        return std::string(contract::kRunMarkerIdle);
    }
    const auto marker = FirstLineBytes(file);
    if (!marker) {
        return std::nullopt;
    }
    return TrimWhitespace(*marker).empty() ? std::string(contract::kRunMarkerIdle) : *marker;
}

// Whether the record at index still says exactly what its line said: then the line's own bytes
// are the record, whatever the monitor could or could not make of them.
const std::string* UnchangedLine(const ScheduleTable& table, std::size_t index, ICodePage& codePage) {
    const std::string* line = table.LoadedLine(index);
    if (line == nullptr || ParseLineBytes(codePage, *line) != table.Record(index)) {
        return nullptr;
    }
    return line;
}

bool IsBlank(std::string_view line) {
    return TrimWhitespace(line).empty();
}

ScheduleWriteResult Refused(ScheduleWriteStatus status, std::size_t index) {
    return {status, index};
}

}  // namespace

std::filesystem::path ScheduleFilePath(const std::filesystem::path& userFolder) {
    return userFolder / PathFromUtf8(contract::kScheduleFile);
}

ScheduleFileReading ReadScheduleFile(const std::filesystem::path& file) {
    ScheduleFileReading reading;
    reading.bytes = ReadSchedule(file);
    reading.exists = reading.bytes || FileExists(file);
    return reading;
}

std::size_t DB_ReadAllRecord(ScheduleTable& table, ICodePage& codePage) {
    return DB_ReadAllRecord(table, codePage, ReadScheduleFile(table.FilePath()));
}

std::size_t DB_ReadAllRecord(ScheduleTable& table, ICodePage& codePage, const ScheduleFileReading& reading) {
    const std::optional<std::string>& bytes = reading.bytes;
    if (!bytes) {
        if (reading.exists) {
            table.MarkUnreadable();
        } else {
            table.ResetFromFile({}, {});
        }
        return 0;
    }
    const auto lines = SplitLines(*bytes);
    std::vector<ScheduleRecord> records;
    std::vector<std::string> rawLines;
    const std::size_t count = lines.empty() ? 0 : lines.size() - 1;
    records.reserve(count);
    rawLines.reserve(count);

    std::string_view smallestKey = contract::kNoNextRunSortKey;
    std::size_t smallestAt = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        records.push_back(ParseLineBytes(codePage, lines[i]));
        rawLines.emplace_back(lines[i]);
        const std::string& key = records.back().SortKey;
        // Only real keys take part: "" or a damaged key would sort before every real next run.
        if (IsRealSortKey(key) && key < smallestKey) {
            smallestKey = key;
            smallestAt = records.size() - 1;
        }
    }
    table.ResetFromFile(std::move(records), std::move(rawLines));
    return smallestAt;
}

ScheduleWriteResult DB_WriteAllRecord(ScheduleTable& table, ICodePage& codePage, ScheduleWriter writer) {
    if (table.IsUnreadable()) {
        return {ScheduleWriteStatus::Unreadable, std::nullopt};
    }
    std::string body;
    for (std::size_t i = 0; i < table.ScheduleCount(); ++i) {
        const ScheduleRecord& record = table.Record(i);
        if (const std::string* line = UnchangedLine(table, i, codePage)) {
            // A blank line is nothing to keep; any other line we did not change is the engine's.
            if (!(record.JobKind.empty() && IsBlank(*line))) {
                body += *line;
                body += kLineEnd;
            }
            continue;
        }
        if (record.JobKind.empty()) {
            continue;
        }
        if (CheckScheduleLine(record) != ScheduleLineProblem::None) {
            return Refused(ScheduleWriteStatus::BreaksLayout, i);
        }
        const AnsiText encoded = EncodeLine(codePage, FormatScheduleLine(record));
        if (!encoded.exact) {
            return Refused(ScheduleWriteStatus::NotRepresentable, i);
        }
        body += encoded.bytes;
        body += kLineEnd;
    }

    const auto header = HeaderFor(writer, table.FilePath());
    if (!header) {
        return {ScheduleWriteStatus::Failed, std::nullopt};
    }
    const std::string headerLine = *header + std::string(kLineEnd);
    if (body.empty()) {
        // An empty schedule is a missing file. Should the file refuse to go, a file without
        // records reads the same to the engine and to us.
        const bool gone = DeleteFileIfExists(table.FilePath()) || ReplaceFileBytes(table.FilePath(), headerLine);
        return {gone ? ScheduleWriteStatus::Removed : ScheduleWriteStatus::Failed, std::nullopt};
    }
    if (!ReplaceFileBytes(table.FilePath(), headerLine + body)) {
        return {ScheduleWriteStatus::Failed, std::nullopt};
    }
    return {ScheduleWriteStatus::Written, std::nullopt};
}

bool IsIdleRunMarker(std::string_view marker) {
    const std::string trimmed = TrimWhitespace(marker);
    return trimmed.empty() || trimmed == contract::kRunMarkerIdle;
}

std::string Readfirstline(const std::filesystem::path& file, ICodePage& codePage) {
    const auto line = FirstLineBytes(file);
    return line ? DecodeLine(codePage, *line) : std::string();
}

std::size_t CountRecords(const std::filesystem::path& file) {
    const auto bytes = ReadSchedule(file);
    if (!bytes) {
        return 0;
    }
    const std::size_t lines = SplitLines(*bytes).size();
    return lines == 0 ? 0 : lines - 1;
}

}  // namespace ovp
