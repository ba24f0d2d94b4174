#include "scheduler/schedule_table.h"

#include <algorithm>

namespace ovp {

void ScheduleTable::SetScheduleCount(std::size_t count) {
    records_.resize(count);
    lines_.resize(count);
}

bool ScheduleTable::SelectCurrent(std::size_t index) {
    if (index >= records_.size()) {
        return false;
    }
    currentIndex_ = index;
    current_ = records_[index];
    return true;
}

bool ScheduleTable::StoreCurrent() {
    if (currentIndex_ > records_.size()) {
        return false;
    }
    if (currentIndex_ == records_.size()) {
        SetScheduleCount(records_.size() + 1);
    }
    records_[currentIndex_] = current_;
    return true;
}

std::optional<std::size_t> ScheduleTable::FindJobKind(std::string_view jobKind) const {
    const auto found =
        std::find_if(records_.begin(), records_.end(), [&](const auto& record) { return record.JobKind == jobKind; });
    return found == records_.end() ? std::nullopt : std::optional<std::size_t>(found - records_.begin());
}

std::optional<std::size_t> ScheduleTable::FindRecordNo(std::string_view recordNo) const {
    const auto found =
        std::find_if(records_.begin(), records_.end(), [&](const auto& record) { return record.RecordNo == recordNo; });
    return found == records_.end() ? std::nullopt : std::optional<std::size_t>(found - records_.begin());
}

void ScheduleTable::DeleteRecord(std::size_t index) {
    if (index < records_.size()) {
        records_[index].JobKind.clear();
        lines_[index].reset();
    }
}

void ScheduleTable::ResetFromFile(std::vector<ScheduleRecord> records, std::vector<std::string> lines) {
    records_ = std::move(records);
    lines_.assign(records_.size(), std::nullopt);
    for (std::size_t i = 0; i < lines.size() && i < lines_.size(); ++i) {
        lines_[i] = std::move(lines[i]);
    }
    unreadable_ = false;
}

void ScheduleTable::MarkUnreadable() {
    records_.clear();
    lines_.clear();
    unreadable_ = true;
}

const std::string* ScheduleTable::LoadedLine(std::size_t index) const {
    return index < lines_.size() && lines_[index] ? &*lines_[index] : nullptr;
}

}  // namespace ovp
