#include "scheduler/schedule_record.h"

#include "contract/engine_contract.h"

namespace ovp {

namespace {

constexpr std::string_view kSeparator = contract::kScheduleSeparator;

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

ScheduleRecord ParseScheduleLine(std::string_view line) {
    ScheduleRecord record;
    std::string_view rest = line;
    for (std::size_t token = 0; token < kScheduleTokenCount; ++token) {
        std::string& field = record.*kScheduleFileOrder[token];
        const bool last = token + 1 == kScheduleTokenCount;
        const auto cut = last ? std::string_view::npos : rest.find(kSeparator);
        if (cut == std::string_view::npos) {
            field.assign(rest);
            break;
        }
        field.assign(rest.substr(0, cut));
        rest.remove_prefix(cut + kSeparator.size());
    }
    return record;
}

ScheduleLineProblem CheckScheduleLine(const ScheduleRecord& record) {
    for (std::size_t token = 0; token < kScheduleTokenCount; ++token) {
        const std::string& field = record.*kScheduleFileOrder[token];
        if (HasLineBreak(field)) {
            return ScheduleLineProblem::BreaksLayout;
        }
        // A reader cuts at the first separator: a token of its own may hold neither a separator
        // nor a final backspace that would pair with the one that follows.
        const bool last = token + 1 == kScheduleTokenCount;
        if (!last && (field.find(kSeparator) != std::string::npos || (!field.empty() && field.back() == '\b'))) {
            return ScheduleLineProblem::BreaksLayout;
        }
    }
    return ScheduleLineProblem::None;
}

std::string FormatScheduleLine(const ScheduleRecord& record) {
    std::string line;
    for (std::size_t token = 0; token < kScheduleTokenCount; ++token) {
        if (token > 0) {
            line += kSeparator;
        }
        line += record.*kScheduleFileOrder[token];
    }
    return line;
}

}  // namespace ovp
