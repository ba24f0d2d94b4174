#pragma once
// The in-memory schedule table shared by the wizard, the manager and the first-run step: the
// records of one user's scheduleData.txt in file order, the file's path, and the current record
// that the wizard edits and writes back at CurrentIndex.
//
// The table also remembers each loaded line's bytes as they stood in the file. A record the
// monitor did not change goes back byte for byte, so a line the monitor cannot read (a damaged
// record, a future engine's format, bytes outside the code page) is never rewritten into
// something else.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scheduler/schedule_record.h"

namespace ovp {

class ScheduleTable {
  public:
    ScheduleTable() = default;
    explicit ScheduleTable(std::filesystem::path file) : file_(std::move(file)) {}

    // The current user's scheduleData.txt; the caller computes it whenever the user may have
    // changed. Load before writing: a table written to another user's file replaces that file.
    const std::filesystem::path& FilePath() const { return file_; }
    void SetFilePath(std::filesystem::path file) { file_ = std::move(file); }

    std::size_t ScheduleCount() const { return records_.size(); }
    // Grows with empty records (which a rewrite skips) or drops records from the end.
    void SetScheduleCount(std::size_t count);
    // Positions below ScheduleCount(); another position is a programming error (throws).
    ScheduleRecord& Record(std::size_t index) { return records_.at(index); }
    const ScheduleRecord& Record(std::size_t index) const { return records_.at(index); }
    const std::vector<ScheduleRecord>& Records() const { return records_; }

    // The wizard's record and the position it is written back to.
    ScheduleRecord& Current() { return current_; }
    const ScheduleRecord& Current() const { return current_; }
    std::size_t CurrentIndex() const { return currentIndex_; }
    void SetCurrentIndex(std::size_t index) { currentIndex_ = index; }
    // Makes the record at index the current one (CurrentIndex and all twelve fields).
    bool SelectCurrent(std::size_t index);
    // Copies the current record into the table at CurrentIndex; CurrentIndex == ScheduleCount()
    // appends it (the first-run default on a new file). False for a position beyond that.
    bool StoreCurrent();

    // The first record with that keyword / that RecordNo.
    std::optional<std::size_t> FindJobKind(std::string_view jobKind) const;
    std::optional<std::size_t> FindRecordNo(std::string_view recordNo) const;

    // Deletes the record at index from the next rewrite. Emptying `JobKind` does the same for a
    // record that had a keyword; this also removes a damaged line that never had one.
    void DeleteRecord(std::size_t index);

    // ---- For the file functions (schedule_file.h) ----
    // Replaces the records with a load's result: the records and each line's bytes.
    void ResetFromFile(std::vector<ScheduleRecord> records, std::vector<std::string> lines);
    // The load found the file but could not read it: until the next successful load the table
    // does not know the file's records, and a rewrite would lose them.
    void MarkUnreadable();
    bool IsUnreadable() const { return unreadable_; }
    // The bytes the record at index was loaded from; nullptr for a record that did not come from
    // the file or was deleted. Whether it still says the same is for the caller to check.
    const std::string* LoadedLine(std::size_t index) const;

  private:
    std::filesystem::path file_;
    std::vector<ScheduleRecord> records_;
    std::vector<std::optional<std::string>> lines_;  // parallel to records_
    ScheduleRecord current_;
    std::size_t currentIndex_ = 0;
    bool unreadable_ = false;
};

}  // namespace ovp
