#include "engine_simulator.h"

#include <cstdio>

#include "base/datetime.h"
#include "base/files.h"
#include "base/text.h"
#include "contract/engine_contract.h"
#include "defaults/default_schedule.h"
#include "platform/std_random.h"
#include "scheduler/schedule_file.h"

namespace ovp::standin {

namespace c = contract;

namespace {

constexpr std::string_view kRetValueSuccess = "0";
constexpr std::string_view kRetValueFailure = "1";
constexpr std::string_view kIdle = "0";
constexpr std::string_view kStatusWindowOpen = "1";
constexpr std::string_view kStatusWindowClosed = "0";
constexpr std::string_view kScheduledWord = "Scheduled";

// A Unicode text file of one line, as the engine writes its status files: FF FE, UTF-16LE, CR LF.
std::string Utf16OneLine(std::string_view line) {
    std::u16string text = Utf8ToUtf16(line);
    text += u"\r\n";
    return "\xFF\xFE" + Utf16LeBytes(text);
}

std::string TwoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

}  // namespace

std::string WithRunMarker(std::string_view scheduleBytes, std::string_view marker) {
    const std::size_t lineEnd = scheduleBytes.find('\n');
    const std::string_view rest =
        lineEnd == std::string_view::npos ? std::string_view() : scheduleBytes.substr(lineEnd + 1);
    std::string bytes(marker);
    bytes += c::kScheduleLineEnd;
    bytes += rest;
    return bytes;
}

namespace {

// How one simulated log reads: its operation words, summary line and failure sentence.
struct LogKind {
    std::string_view operation;
    std::string_view summary;  // "" for a log without a count; "#" stands for the count
    std::string_view failure;  // "" for a log that did not fail
};

constexpr LogKind kLogKinds[] = {
    {"Scheduled", "[Backed up Files : #]", ""},
    {"Backup", "[Backed up Files : #]", ""},
    {"Continuous Backup", "[Backed up Files : #]", ""},
    {"Restore", "Restored Files : #]", ""},
    {"Restore from Trash to Account", "Moved files from Trash to Account: #]", ""},
    {"Undo", "Moved files from Trash to Account: #]", ""},
    {"Delete", "Deleted Files : #]", ""},
    {"Delete(Trash)", "Delete(Trash) Files : #]", ""},
    {"Scheduled", "[Backed up Files : #]", "Backup is in progress. Try later"},
    {"Backup", "", "Connection Failed. Unable to connect to the server"},
    {"Restore", "", ""},
    {"Scheduled", "", ""},
};

std::string LogStamp(const DateTime& at) {
    return TwoDigits(at.month) + "-" + TwoDigits(at.day) + "-" + std::to_string(at.year) + " " + TwoDigits(at.hour) +
           "-" + TwoDigits(at.minute) + "-" + TwoDigits(at.second);
}

}  // namespace

SimulatedLog SimulatedSessionLog(unsigned index, const DateTime& now, ICodePage& ansi) {
    const LogKind& kind = kLogKinds[index % std::size(kLogKinds)];
    const DateTime at = now.AddSeconds(-3600LL * index);
    SimulatedLog log;
    log.name = std::string(kind.operation) + " " + LogStamp(at) + ".txt";
    const std::string count = std::to_string(3 + index % 97);
    std::string text = std::string(kind.operation) + " started : " + FormatStamp(at) + "\r\n";
    text += "Backup set : Documents\r\n";
    for (int file = 1; file <= 3; ++file) {
        text += "  C:\\Users\\demo\\Documents\\Résumé " + std::to_string(file) + ".docx\r\n";
    }
    if (!kind.failure.empty()) {
        text += std::string(kind.failure) + "\r\n";
    }
    if (!kind.summary.empty()) {
        std::string summary(kind.summary);
        summary.replace(summary.find('#'), 1, count);
        text += summary + "\r\n";
    }
    text += "Ended : " + FormatStamp(at.AddSeconds(42)) + "\r\n";
    switch (index % 3) {
        case 0:
            log.bytes = ansi.Utf8ToAnsi(text).bytes;
            break;
        case 1:
            log.bytes = "\xEF\xBB\xBF" + text;
            break;
        default:
            log.bytes = "\xFF\xFE" + Utf16LeBytes(Utf8ToUtf16(text));
            break;
    }
    return log;
}

std::string ScheduledLogName(const DateTime& at) {
    return std::string(kScheduledWord) + " " + TwoDigits(at.month) + "-" + TwoDigits(at.day) + "-" +
           std::to_string(at.year) + " " + TwoDigits(at.hour) + "-" + TwoDigits(at.minute) + "-" +
           TwoDigits(at.second) + ".txt";
}

std::string ScheduledLogText(bool success, const DateTime& endedAt) {
    std::string text = "Scheduled backup of the default backup set\r\n";
    text += "Ended : " + FormatStamp(endedAt) + "\r\n";
    if (success) {
        text += "[Backed up Files : " + std::to_string(kSimulatedFileCount) + "]\r\n";
        text += std::string(kCompletedMessage) + "\r\n";
    } else {
        text += std::string(kScheduledFailureSentence) + "\r\n";
        text += "  - the server could not be reached\r\n";
        text += std::string(kFailedMessage) + "\r\n";
    }
    return text;
}

EngineSimulator::EngineSimulator(std::filesystem::path appFolder, const ProductSettings& settings)
    : folders_(std::move(appFolder), settings.installationName),
      users_(store_, folders_),
      trace_(errors_),
      values_(registry_, store_, folders_, users_, trace_) {}

bool EngineSimulator::Note(bool done, std::string_view what) {
    if (!done) {
        errors_.push_back("could not write " + std::string(what));
    }
    return done;
}

std::filesystem::path EngineSimulator::UserFolder() {
    if (users_.CurrentUserName().empty()) {
        errors_.emplace_back("no user is logged in (\"Default User name\" of UserName.ini)");
        return {};
    }
    const std::filesystem::path folder = values_.UserFolder();
    Note(CreateFolders(folder), "the user folder " + Utf8FromPath(folder));
    return folder;
}

std::filesystem::path EngineSimulator::ScheduleFile(const std::filesystem::path& userFolder) const {
    return ScheduleFilePath(userFolder);
}

bool EngineSimulator::WriteStatus(std::string_view key, std::string_view value) {
    return Note(values_.WriteProfile(c::kBackupStatusSection, key, value), key);
}

bool EngineSimulator::SetRunMarker(const std::filesystem::path& userFolder,
                                   std::string_view marker,
                                   bool createSchedule) {
    const std::filesystem::path file = ScheduleFile(userFolder);
    if (createSchedule && CountRecords(file) == 0) {
        // The engine runs jobs of the schedule: a start without one gets the first-run default.
        StdRandom random(clock_.TickMs());
        if (WriteDefaultSchedule(userFolder, codePage_, clock_, random) == DefaultScheduleResult::Failed) {
            return Note(false, "the default schedule");
        }
    }
    if (!FileExists(file)) {
        return true;  // no schedule: nothing runs, which is what "0" says
    }
    const std::optional<std::string> bytes = ReadFileBytes(file, kMaxScheduleFileBytes);
    return Note(bytes && ReplaceFileBytes(file, WithRunMarker(*bytes, marker)), "the run marker");
}

bool EngineSimulator::WriteStatusFiles(const std::filesystem::path& userFolder, bool success) {
    const std::filesystem::path status = userFolder / PathFromUtf8(c::kSchStatusFile);
    const std::filesystem::path error = userFolder / PathFromUtf8(c::kSchStatusErrorFile);
    bool done =
        Note(ReplaceFileBytes(status, Utf16OneLine(success ? kCompletedMessage : kFailedMessage)), c::kSchStatusFile);
    if (success) {
        done = Note(DeleteFileIfExists(error), c::kSchStatusErrorFile) && done;
    } else {
        done = Note(ReplaceFileBytes(error, Utf16OneLine(kScheduledFailureSentence)), c::kSchStatusErrorFile) && done;
    }
    return done;
}

bool EngineSimulator::WriteSessionLog(const std::filesystem::path& userFolder, bool success, const DateTime& endedAt) {
    const std::filesystem::path folder = userFolder / PathFromUtf8(c::kSessionFolder);
    if (!Note(CreateFolders(folder), "the session folder")) {
        return false;
    }
    // Two backups that end within one second keep both logs: the later is named a second on.
    DateTime at = endedAt;
    std::filesystem::path log = folder / PathFromUtf8(ScheduledLogName(at));
    for (int tries = 0; FileExists(log) && tries < 60; ++tries) {
        at = at.AddSeconds(1);
        log = folder / PathFromUtf8(ScheduledLogName(at));
    }
    return Note(!FileExists(log) && ReplaceFileBytes(log, ScheduledLogText(success, endedAt)), "the session log");
}

bool EngineSimulator::WriteSessionLogs(unsigned count) {
    const std::filesystem::path userFolder = UserFolder();
    if (userFolder.empty()) {
        return false;
    }
    const std::filesystem::path folder = userFolder / PathFromUtf8(c::kSessionFolder);
    if (!Note(CreateFolders(folder), "the session folder")) {
        return false;
    }
    const DateTime now = clock_.Now();
    for (unsigned index = 0; index < count; ++index) {
        const SimulatedLog log = SimulatedSessionLog(index, now, codePage_);
        if (!Note(ReplaceFileBytes(folder / PathFromUtf8(log.name), log.bytes), "a session log")) {
            return false;
        }
    }
    return true;
}

bool EngineSimulator::Start(std::string_view job) {
    const std::filesystem::path userFolder = UserFolder();
    if (userFolder.empty()) {
        return false;
    }
    // The last result goes first, so that no tick sees the new job beside the old result.
    bool done = WriteStatus(c::kRetValue, "");
    done = Note(DeleteFileIfExists(userFolder / PathFromUtf8(c::kSchStatusErrorFile)), c::kSchStatusErrorFile) && done;
    done = SetRunMarker(userFolder, job, true) && done;
    done = WriteStatus(c::kStatus, c::kStatusScheduledRunning) && done;
    done = WriteStatus(c::kDllStatus, c::kDllStatusStarted) && done;
    return done;
}

bool EngineSimulator::Finish(bool success, bool statusWindow) {
    const std::filesystem::path userFolder = UserFolder();
    if (userFolder.empty()) {
        return false;
    }
    const DateTime now = clock_.Now();
    // The files the status window and the log viewer read are in place before anything says that
    // the job has ended; the request for the window comes last of all.
    bool done = WriteStatusFiles(userFolder, success);
    done = WriteSessionLog(userFolder, success, now) && done;
    done = WriteStatus(c::kSchEndTime, FormatStamp(now)) && done;
    done = WriteStatus(c::kRetValue, success ? kRetValueSuccess : kRetValueFailure) && done;
    done = WriteStatus(c::kDllStatus, success ? c::kDllStatusCompleted : c::kDllStatusFailed) && done;
    done = WriteStatus(c::kStatus, kIdle) && done;
    done = SetRunMarker(userFolder, c::kRunMarkerIdle, false) && done;
    if (statusWindow) {
        done = WriteStatus(c::kStatusWindow, kStatusWindowOpen) && done;
    }
    return done;
}

bool EngineSimulator::SetContinuousBackup(int state) {
    return Note(values_.WriteUserNameOrvessa(c::kRTBackup, std::to_string(state)), c::kRTBackup);
}

bool EngineSimulator::SetQuota(std::string_view used, std::string_view max) {
    if (UserFolder().empty()) {
        return false;
    }
    bool done = Note(values_.WriteProfile(c::kQuotaStatusSection, c::kUsed, used), c::kUsed);
    done = Note(values_.WriteProfile(c::kQuotaStatusSection, c::kMax, max), c::kMax) && done;
    return done;
}

bool EngineSimulator::SetQuotaMarker(bool on) {
    const std::filesystem::path userFolder = UserFolder();
    if (userFolder.empty()) {
        return false;
    }
    const std::filesystem::path marker = userFolder / PathFromUtf8(c::kQuotaExceededFile);
    if (!on) {
        return Note(DeleteFileIfExists(marker), c::kQuotaExceededFile);
    }
    // An existing marker is left as the engine found it.
    return Note(FileExists(marker) || ReplaceFileBytes(marker, ""), c::kQuotaExceededFile);
}

bool EngineSimulator::SetConnectionStatus(std::uint32_t status) {
    return values_.WriteRegistryDword(RegistryRoot::CurrentUser, values_.ConnectionParametersKey(), c::kRegStatus,
                                      status);
}

bool EngineSimulator::SetMissedDays(unsigned days) {
    bool done = WriteStatus(c::kBackupFailureDays, std::to_string(days));
    for (const std::string_view key :
         {c::kTrayIconDay, c::kTrayIconMonth, c::kTrayIconYear, c::kTrayIconHour, c::kTrayIconMinute}) {
        done = Note(values_.WriteUserNameOrvessa(key, ""), key) && done;
    }
    return done;
}

bool EngineSimulator::Reset() {
    bool done = SetContinuousBackup(c::kRTBackupIdle);
    const std::filesystem::path userFolder = UserFolder();
    if (userFolder.empty()) {
        return false;
    }
    done = SetRunMarker(userFolder, c::kRunMarkerIdle, false) && done;
    done = WriteStatus(c::kStatus, kIdle) && done;
    done = WriteStatus(c::kDllStatus, c::kDllStatusNothing) && done;
    done = WriteStatus(c::kRetValue, "") && done;
    // A window asked for and not yet opened would open on the idle state.
    done = WriteStatus(c::kStatusWindow, kStatusWindowClosed) && done;
    done = SetQuotaMarker(false) && done;
    done = Note(DeleteFileIfExists(userFolder / PathFromUtf8(c::kSchStatusErrorFile)), c::kSchStatusErrorFile) && done;
    return done;
}

}  // namespace ovp::standin
