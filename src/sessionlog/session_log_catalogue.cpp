#include "sessionlog/session_log_catalogue.h"

#include <algorithm>
#include <array>
#include <system_error>

#include "base/files.h"
#include "base/text.h"
#include "ui/open_document.h"

namespace ovp {

std::vector<SessionLogName> SortAndSplitLogFiles(const std::filesystem::path& folder) {
    std::vector<SessionLogName> logs;
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error) {
        return logs;
    }
    for (const std::filesystem::directory_entry& entry : entries) {
        std::error_code typeError;
        if (entry.is_directory(typeError)) {
            continue;
        }
        if (auto log = ParseSessionLogName(Utf8FromPath(entry.path().filename()))) {
            logs.push_back(std::move(*log));
        }
    }
    std::sort(logs.begin(), logs.end(), [](const SessionLogName& a, const SessionLogName& b) {
        return a.sortKey != b.sortKey ? a.sortKey > b.sortKey : a.fileName < b.fileName;
    });
    return logs;
}

SessionLogPage FirstSessionLogPage(std::size_t total) {
    return total == 0 ? SessionLogPage{} : SessionLogPage{1, std::min(kSessionLogPageSize, total)};
}

SessionLogPage NextSessionLogPage(SessionLogPage page, std::size_t total) {
    if (!HasNextSessionLogPage(page, total)) {
        return page;
    }
    const std::size_t first = page.last + 1;
    return {first, std::min(first + kSessionLogPageSize - 1, total)};
}

SessionLogPage PreviousSessionLogPage(SessionLogPage page, std::size_t total) {
    if (!HasPreviousSessionLogPage(page)) {
        return page;
    }
    const std::size_t last = std::min(page.first - 1, total);
    return {last > kSessionLogPageSize ? last - kSessionLogPageSize + 1 : 1, last};
}

SessionLogPage SessionLogPageFrom(std::size_t first, std::size_t total) {
    if (total == 0) {
        return {};
    }
    first = std::max<std::size_t>(first, 1);
    while (first > total) {
        first = first > kSessionLogPageSize ? first - kSessionLogPageSize : 1;
    }
    return {first, std::min(first + kSessionLogPageSize - 1, total)};
}

bool HasNextSessionLogPage(SessionLogPage page, std::size_t total) {
    return page.last < total;
}

bool HasPreviousSessionLogPage(SessionLogPage page) {
    return page.first > 1;
}

std::string SessionLogPageLabel(SessionLogPage page, std::size_t total, std::string_view joiner) {
    if (total == 0) {
        return {};
    }
    return std::to_string(page.first) + " - " + std::to_string(page.last) + std::string(joiner) + std::to_string(total);
}

bool IsRunnableFileType(const std::filesystem::path& file) {
    // The system's program extensions and the types the shell runs or follows when "opened".
    static constexpr std::array<std::string_view, 24> kRunnable = {
        ".com", ".exe", ".bat", ".cmd", ".vbs", ".vbe", ".js",  ".jse", ".wsf", ".wsh", ".msc", ".lnk",
        ".url", ".scr", ".pif", ".msi", ".msp", ".hta", ".ps1", ".cpl", ".reg", ".jar", ".inf", ".scf"};
    // Windows drops trailing dots and blanks from a name, so "x.exe." runs as "x.exe".
    std::string name = Utf8FromPath(file.filename());
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) {
        name.pop_back();
    }
    const std::size_t dot = name.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : ToLowerAscii(name.substr(dot));
    return std::find(kRunnable.begin(), kRunnable.end(), extension) != kRunnable.end();
}

void OpenSessionLog(IShell& shell, const std::filesystem::path& file) {
    if (IsRunnableFileType(file)) {
        shell.OpenWithChooser(file);
        return;
    }
    OpenDocument(shell, file);
}

}  // namespace ovp
