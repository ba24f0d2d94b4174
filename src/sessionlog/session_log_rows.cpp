#include "sessionlog/session_log_rows.h"

#include <array>
#include <utility>

#include "base/files.h"
#include "base/resume_next.h"
#include "base/text.h"
#include "contract/engine_contract.h"
#include "sessionlog/session_log_reader.h"

namespace ovp {

namespace {

bool HasFailureSentence(std::string_view line) {
    for (const std::string_view sentence : contract::kLogFailureSentences) {
        if (line.find(sentence) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

// The summary line each kind's count is read from.
std::string KeywordOf(SessionLogKind kind, const SessionLogTexts& texts) {
    switch (kind) {
        case SessionLogKind::Scheduled:
        case SessionLogKind::Backup:
        case SessionLogKind::Continuous:
            return texts.backedUpKeyword;
        case SessionLogKind::Restore:
            return texts.restoredKeyword + " :";
        case SessionLogKind::TrashRestore:
        case SessionLogKind::Undo:
            return texts.movedKeyword;
        case SessionLogKind::Delete:
            return texts.deletedKeyword + " :";
        case SessionLogKind::TrashDelete:
            return texts.trashDeletedKeyword + " :";
        case SessionLogKind::Other:
            break;
    }
    return {};
}

}  // namespace

SessionLogKind SessionLogKindOf(std::string_view operation, const SessionLogTexts& texts) {
    const std::array<std::pair<const std::string*, SessionLogKind>, 8> order = {{
        {&texts.backup, SessionLogKind::Backup},
        {&texts.continuous, SessionLogKind::Continuous},
        {&texts.trashRestore, SessionLogKind::TrashRestore},
        {&texts.restore, SessionLogKind::Restore},
        {&texts.undo, SessionLogKind::Undo},
        {&texts.deleteWord, SessionLogKind::Delete},
        {&texts.trashDelete, SessionLogKind::TrashDelete},
        {&texts.scheduled, SessionLogKind::Scheduled},
    }};
    for (const auto& [name, kind] : order) {
        if (operation == *name) {
            return kind;
        }
    }
    return SessionLogKind::Other;
}

std::optional<std::string> SummaryCount(std::string_view line) {
    const std::size_t colon = line.find(':');
    const std::size_t bracket = line.find(']');
    if (colon == std::string_view::npos || bracket == std::string_view::npos || bracket < colon + 2) {
        return std::nullopt;
    }
    std::string count = Trim(line.substr(colon + 2, bracket - colon - 2));
    if (count.empty()) {
        return std::nullopt;
    }
    return count;
}

SessionLogSummary ReadSessionLogSummary(const std::filesystem::path& file,
                                        std::string_view keyword,
                                        bool backup,
                                        ICodePage& codePage,
                                        std::size_t& filesOpened) {
    SessionLogSummary summary;
    if (keyword.empty() || FileSize(file).value_or(0) == 0) {
        return summary;
    }
    LogLineReader reader(file, codePage);
    if (!reader.IsOpen()) {
        return summary;
    }
    ++filesOpened;
    bool keywordSeen = false;
    std::string line;
    while (reader.NextLine(line)) {
        if (!keywordSeen && line.find(keyword) != std::string::npos) {
            keywordSeen = true;
            summary.count = SummaryCount(line);
            if (!backup) {
                break;
            }
        }
        if (backup && HasFailureSentence(line)) {
            summary.failed = true;
            break;
        }
    }
    return summary;
}

void DescribeSessionLog(SessionLogRow& row,
                        SessionLogKind kind,
                        std::string_view operation,
                        const SessionLogSummary& summary,
                        const SessionLogTexts& texts) {
    const std::string counted = summary.count ? *summary.count + " " + texts.files + " )" : std::string();
    // Each kind's own spacing before the count.
    const auto with = [&](const std::string& label, std::string_view opening) {
        return summary.count ? label + std::string(opening) + counted : label;
    };
    switch (kind) {
        case SessionLogKind::Scheduled:
            row.description = with(texts.scheduledLabel, " ( ");
            row.icon = SessionLogIcon::Backup;
            break;
        case SessionLogKind::Backup:
            row.description = with(texts.backupLabel, "( ");
            row.icon = SessionLogIcon::Backup;
            break;
        case SessionLogKind::Continuous:
            row.description = with(texts.continuousLabel, "( ");
            row.icon = SessionLogIcon::Backup;
            break;
        case SessionLogKind::Restore:
            row.description = with(texts.restoreLabel, "( ");
            row.icon = SessionLogIcon::Restore;
            break;
        case SessionLogKind::TrashRestore:
            row.description = with(texts.trashRestoreLabel, "( ");
            row.icon = SessionLogIcon::Restore;
            break;
        case SessionLogKind::Undo:
            row.description = with(texts.undoLabel, " ( ");
            row.icon = SessionLogIcon::Restore;
            break;
        case SessionLogKind::Delete:
            row.description = with(texts.deleteLabel, " (");
            row.icon = SessionLogIcon::Delete;
            break;
        case SessionLogKind::TrashDelete:
            row.description = with(texts.trashDeleteLabel, " ( ");
            row.icon = SessionLogIcon::Delete;
            break;
        case SessionLogKind::Other:
            row.description = std::string(operation);
            row.icon = SessionLogIcon::None;
            break;
    }
    const bool backup = kind == SessionLogKind::Scheduled || kind == SessionLogKind::Backup;
    if (backup && summary.failed) {
        // Failure wins over a count found earlier in the same log.
        row.description = (kind == SessionLogKind::Scheduled ? texts.scheduledLabel : texts.backupLabel) + texts.failed;
        row.icon = SessionLogIcon::Failed;
    }
}

SessionLogRow BuildSessionLogRow(const SessionLogName& log,
                                 const std::filesystem::path& folder,
                                 const SessionLogTexts& texts,
                                 ICodePage& codePage,
                                 std::size_t& filesOpened) {
    SessionLogRow row;
    row.fileName = log.fileName;
    row.startTime = SessionLogStartTime(log.DateTime());
    row.sortValue = log.sortKey;
    const SessionLogKind kind = SessionLogKindOf(log.Operation(), texts);
    const bool backup = kind == SessionLogKind::Scheduled || kind == SessionLogKind::Backup;
    SessionLogSummary summary;
    ResumeNext([&] {
        summary = ReadSessionLogSummary(folder / PathFromUtf8(log.fileName), KeywordOf(kind, texts), backup, codePage,
                                        filesOpened);
    });
    DescribeSessionLog(row, kind, log.Operation(), summary, texts);
    return row;
}

}  // namespace ovp
