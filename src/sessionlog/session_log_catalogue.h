#pragma once
// The catalogue of the session folder: which files are logs, in which order, page by page, and
// how a log is opened for the user. Listing reads names only: a folder may hold a hundred thousand
// logs, and none of them is opened to list it.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/shell.h"
#include "sessionlog/session_log_name.h"

namespace ovp {

inline constexpr std::size_t kSessionLogPageSize = 50;

// `SortAndSplitLogFiles`: the logs of the folder, newest first; equal keys keep name order.
// Folders and names that are not listed logs are left out; a missing folder lists nothing.
std::vector<SessionLogName> SortAndSplitLogFiles(const std::filesystem::path& folder);

// The rows a page shows, 1-based and inclusive; {0, 0} when there are none.
struct SessionLogPage {
    std::size_t first = 0;
    std::size_t last = 0;

    bool operator==(const SessionLogPage&) const = default;
};

SessionLogPage FirstSessionLogPage(std::size_t total);
SessionLogPage NextSessionLogPage(SessionLogPage page, std::size_t total);
SessionLogPage PreviousSessionLogPage(SessionLogPage page, std::size_t total);
// The page from the same first row once the total has changed; when that row is gone (the last
// page was emptied) the page before it.
SessionLogPage SessionLogPageFrom(std::size_t first, std::size_t total);
bool HasNextSessionLogPage(SessionLogPage page, std::size_t total);
bool HasPreviousSessionLogPage(SessionLogPage page);
// "first - last" + joiner + "total"; "" when there are no logs.
std::string SessionLogPageLabel(SessionLogPage page, std::size_t total, std::string_view joiner);

// Files that Windows would run, or follow to something else, when asked to "open" them.
bool IsRunnableFileType(const std::filesystem::path& file);

// Opens a log for the user: the shell's "open", maximised, with the open-with chooser for a type
// without a program. A file found in the session folder whose type would run code is only offered
// to the chooser, never opened.
void OpenSessionLog(IShell& shell, const std::filesystem::path& file);

}  // namespace ovp
