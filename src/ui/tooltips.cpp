#include "ui/tooltips.h"

#include <algorithm>
#include <array>
#include <vector>

#include "base/text.h"
#include "contract/locale_file.h"

namespace ovp {

namespace {

// Entries with the same English text share its localised text.
constexpr std::array kToolTips = {
    ToolTipEntry{"frmErrorReport1.cmdSend", 5101, "Avail technical support"},
    ToolTipEntry{"frmErrorReport1.cmdExit", 5100, "Exit this screen"},
    ToolTipEntry{"SchedulerFrm.cmdCancel", 5100, "Exit this screen"},
    ToolTipEntry{"SchedulerFrm.Pic_Edit", 5102, "Edit the selected backup job"},
    ToolTipEntry{"SchedulerFrm.Pic_Delete", 5103,
                 "Delete the selected backup job; not possible if the status indicates 'In Progress"},
    ToolTipEntry{"SchedulerFrm.Pic_Sttrf", 5104, "Stop the backup job immediately"},
    ToolTipEntry{"SchedulerFrm.Pic_Refresh", 5105, "Update the scheduled job list with the latest changes"},
    ToolTipEntry{"FormDesktop.Cmd_No", 5100, "Exit this screen"},
    ToolTipEntry{"FormDesktop.Cmd_Yes", 5106, "View the log for the scheduled backup operation"},
    ToolTipEntry{"frmSchStart1.btnAdd", 5107, "Add the email address to the notification list"},
    ToolTipEntry{"frmSchStart1.Sch_Start4_Cancel", 5108,
                 "Provide additional email addresses on which you want to receive the notifications"},
    ToolTipEntry{"frmSchStart1.Sch_Start4_Next", 5109, "Save the information and parameters provided"},
    ToolTipEntry{"frmSchStart1.Sch_Start6_Help", 5110, "Access the Help Guide"},
    ToolTipEntry{"frmSchStart1.wiz_back", 5111, "Go to the next page"},
    ToolTipEntry{"frmSchStart1.ImageHelp", 5112,
                 "Auto Pause option makes intelligent guesses on pausing and resuming backup to enable optimum "
                 "desktop experience during user activity"},
    ToolTipEntry{"autobkwiz5.PicMissedhelp", 5113,
                 "Select this option to allow the missed scheduled backup to resume \r\nonce the computer is "
                 "turned on"},
    ToolTipEntry{"frmSchStart1.chkBackupIdle", 5114, "Halt the backups in case any user activity is detected"},
    ToolTipEntry{"frmSessionLog.cmdCloseSessionLog", 5100, "Exit this screen"},
    ToolTipEntry{"frmSessionLog.cmdDelete", 5115, "Delete the log file for the selected backup/restore/delete session"},
    ToolTipEntry{"frmSessionLog.cmdView", 5116, "View log for the selected backup/restore/delete session"},
    ToolTipEntry{"frmSessionLog.NextImg", 5111, "Go to the next page"},
    ToolTipEntry{"frmSessionLog.PrevImg", 5117, "Go to the previous page"},
    ToolTipEntry{"frmSessionLog.Image6", 5110, "Access the Help Guide"},
    ToolTipEntry{"frmSessionLog.chkSelectAll", 5120, "Select all the displayed log files"},
    ToolTipEntry{"frmStatus.Cmd_No", 5100, "Exit this screen"},
    ToolTipEntry{"frmStatus.Cmd_Yes", 5118, "view the log file for the scheduled backup operation"},
    ToolTipEntry{"frmStatus.imgUpgrade", 5119,
                 "You have utilized your available quota. To continue with the backups, upgrade your account"},
    ToolTipEntry{"frmFailureNotification.cancel", 5100, "Exit this screen"},
};

constexpr std::size_t kTwoLinesAbove = 70;
constexpr std::size_t kThreeLinesAbove = 140;

// Index of the first blank at or after from, npos when there is none.
std::size_t BlankFrom(const std::u32string& line, std::size_t from) {
    return line.find(U' ', from);
}

// One line of text (no line breaks) split by the length rule.
std::u32string WrapLine(std::u32string line) {
    const std::size_t length = line.size();
    if (length <= kTwoLinesAbove) {
        return line;
    }
    std::vector<std::size_t> splits;
    if (length <= kThreeLinesAbove) {
        if (const std::size_t at = BlankFrom(line, length / 2); at != std::u32string::npos) {
            splits.push_back(at);
        }
    } else {
        const std::size_t first = BlankFrom(line, length / 3);
        if (first != std::u32string::npos) {
            splits.push_back(first);
            // The second split comes after the first even when the first lies beyond two thirds.
            const std::size_t second = BlankFrom(line, std::max(length * 2 / 3, first + 1));
            if (second != std::u32string::npos) {
                splits.push_back(second);
            }
        }
    }
    // From the back, so that the earlier positions stay valid.
    for (auto split = splits.rbegin(); split != splits.rend(); ++split) {
        line.replace(*split, 1, U"\r\n");
    }
    return line;
}

}  // namespace

std::span<const ToolTipEntry> ToolTipTable() {
    return kToolTips;
}

const ToolTipEntry* FindToolTip(std::span<const ToolTipEntry> table, std::string_view key) {
    for (const ToolTipEntry& entry : table) {
        if (entry.key == key) {
            return &entry;
        }
    }
    return nullptr;
}

std::string ToolTipText(ILocaleText& texts, std::string_view key, std::string_view brandName) {
    const ToolTipEntry* entry = FindToolTip(ToolTipTable(), key);
    if (entry == nullptr) {
        return {};
    }
    const std::string text = entry->textId != 0 ? LocaleStringOr(texts, entry->textId, entry->english, brandName)
                                                : std::string(entry->english);
    return WrapToolTipText(text);
}

std::string WrapToolTipText(std::string_view text) {
    const std::u32string all = Utf8ToCodePoints(text);
    std::u32string out;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = all.find_first_of(U"\r\n", start);
        const std::size_t stop = end == std::u32string::npos ? all.size() : end;
        out += WrapLine(all.substr(start, stop - start));
        if (end == std::u32string::npos) {
            return CodePointsToUtf8(out);
        }
        // The break is kept as it was written.
        const std::size_t next = all[end] == U'\r' && end + 1 < all.size() && all[end + 1] == U'\n' ? end + 2 : end + 1;
        out += all.substr(end, next - end);
        start = next;
    }
}

}  // namespace ovp
