#pragma once
// The row builder of the activity log viewer: what kind of operation a log records, how many files
// it handled, whether a backup failed, and the row's words and icon.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "sessionlog/session_log_name.h"

namespace ovp {

// The words the engine names its operations and summaries with, and those of the descriptions.
struct SessionLogTexts {
    // Compared with the engine's file names and log lines, so they are the engine's words, never
    // the user's language (but for the scheduled word, which the engine writes in it).
    std::string backup = "Backup";
    std::string scheduled = "Scheduled";
    std::string restore = "Restore";
    std::string deleteWord = "Delete";
    std::string trashDelete = "Delete(Trash)";
    std::string continuous = "Continuous Backup";
    std::string trashRestore = "Restore from Trash to Account";
    std::string undo = "Undo";
    std::string backedUpKeyword = "[Backed up Files";
    std::string restoredKeyword = "Restored Files";
    std::string deletedKeyword = "Deleted Files";
    std::string movedKeyword = "Moved files from Trash to Account:";
    std::string trashDeletedKeyword = "Delete(Trash) Files";
    // What a row says: a name for each kind (the kind's operation words are fixed, so is its
    // name), the unit of the count and the mark of a failed backup.
    std::string scheduledLabel = "Scheduled Backup";
    std::string backupLabel = "Interactive Backup";
    std::string continuousLabel = "Continuous Backup";
    std::string restoreLabel = "Restore";
    std::string trashRestoreLabel = "Restore from Trash to Account";
    std::string undoLabel = "Undo Trash";
    std::string deleteLabel = "Deleted Files";
    std::string trashDeleteLabel = "Delete(Trash) Files";
    std::string files = "Files";
    std::string failed = " - Failed";
};

enum class SessionLogKind { Other, Backup, Continuous, TrashRestore, Restore, Undo, Delete, TrashDelete, Scheduled };

// The row's picture in the "Operation" column.
enum class SessionLogIcon { None = 0, Backup = 1, Restore = 2, Delete = 3, Failed = 4 };

// The first kind, in the engine's order, whose name equals the operation words (case matters).
SessionLogKind SessionLogKindOf(std::string_view operation, const SessionLogTexts& texts);

// What reading a log found.
struct SessionLogSummary {
    std::optional<std::string> count;
    bool failed = false;
};

// The count on a summary line: the trimmed text from two characters after the first ":" up to
// the first "]"; nullopt when there is no such text.
std::optional<std::string> SummaryCount(std::string_view line);

// Reads the log as far as needed: to the first line with the keyword, and for backups on to the
// first failure sentence or the end. An empty or missing file gives an empty summary.
// filesOpened counts the files actually opened.
SessionLogSummary ReadSessionLogSummary(const std::filesystem::path& file,
                                        std::string_view keyword,
                                        bool backup,
                                        ICodePage& codePage,
                                        std::size_t& filesOpened);

struct SessionLogRow {
    std::string fileName;     // hidden: the log's file
    std::string startTime;    // "StartTime"
    std::string description;  // "Description"
    SessionLogIcon icon = SessionLogIcon::None;
    std::string sortValue;  // hidden: the 14-digit key, in time order as text
};

// The description and icon of a kind from what the log says; the operation words describe only a
// row of no known kind.
void DescribeSessionLog(SessionLogRow& row,
                        SessionLogKind kind,
                        std::string_view operation,
                        const SessionLogSummary& summary,
                        const SessionLogTexts& texts);

// The whole row of one log of the folder; a log that cannot be read gives the row without a count.
SessionLogRow BuildSessionLogRow(const SessionLogName& log,
                                 const std::filesystem::path& folder,
                                 const SessionLogTexts& texts,
                                 ICodePage& codePage,
                                 std::size_t& filesOpened);

}  // namespace ovp
