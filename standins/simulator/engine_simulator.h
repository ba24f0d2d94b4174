#pragma once
// What the backup engine leaves behind for the monitor, written on request: the run marker of the
// schedule database, the BackupStatus and QuotaStatus values of the user's profile file, the
// status files of the last scheduled backup and its session log, the continuous-backup state, the
// quota marker and the connection state. Test and demo equipment: it does no backup work.
// Every write goes through the same stores the monitor reads (the Win32 profile store, the
// registry, whole-file replacement), so the monitor sees what a real engine would leave.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "contract/folders.h"
#include "contract/product_config.h"
#include "contract/trace_sink.h"
#include "platform/code_page.h"
#include "settings/current_user.h"
#include "settings/shared_values.h"
#include "win32/clock_win.h"
#include "win32/code_page_win.h"
#include "win32/profile_store_win.h"
#include "win32/registry_win.h"

namespace ovp::standin {

// The line of the status file that the engine leaves after a scheduled backup.
inline constexpr std::string_view kCompletedMessage = "Backup completed successfully.";
inline constexpr std::string_view kFailedMessage = "Backup failed.";
// The failure sentence a scheduled backup's session log carries; the log viewer looks for it.
inline constexpr std::string_view kScheduledFailureSentence =
    "Unable to perform scheduled backup. Possible reasons include:";
// The number of files a successful simulated backup reports in its session log.
inline constexpr int kSimulatedFileCount = 12;

// Line 1 of the schedule database replaced by marker, the records kept byte for byte. The line
// end of the rest is left as it was; a file of one unended line becomes the marker line alone.
std::string WithRunMarker(std::string_view scheduleBytes, std::string_view marker);

// "Scheduled mm-dd-yyyy HH-mm-ss.txt": the session log of a scheduled backup that ended at `at`
// (a file name cannot hold ":", and the log viewer takes the name's date-time up to the first ".").
std::string ScheduledLogName(const DateTime& at);
// The log's lines: the summary with the file count on success, the failure sentence on failure.
std::string ScheduledLogText(bool success, const DateTime& endedAt);

// One of the engine's session logs: its file name and its bytes as the engine writes them.
struct SimulatedLog {
    std::string name;
    std::string bytes;
};

// Log number `index` of a realistic session folder, `index` hours before `now`. The numbers go
// round every kind the engine writes (backup, continuous, restore, trash restore, undo, delete,
// trash delete, scheduled; with and without a count, and failed backups) and every encoding (the
// ANSI code page, UTF-8 and UTF-16LE with their marks). ansi converts text to the code page.
SimulatedLog SimulatedSessionLog(unsigned index, const DateTime& now, ICodePage& ansi);

class EngineSimulator {
  public:
    EngineSimulator(std::filesystem::path appFolder, const ProductSettings& settings);

    // The scheduled job `job` begins: run marker, Status "1", DLLStatus "1", RetValue "", and no
    // failure file. A missing schedule (or one without records) gets the default record first.
    bool Start(std::string_view job);
    // The running job ends with the result, its status files and session log; the status window
    // is asked for when statusWindow.
    bool Finish(bool success, bool statusWindow);
    // "RTBackup" of UserName.ini.
    bool SetContinuousBackup(int state);
    bool SetQuota(std::string_view used, std::string_view max);
    bool SetQuotaMarker(bool on);
    // "Status" under the product's Connection Parameters key (current user, DWORD).
    bool SetConnectionStatus(std::uint32_t status);
    // "BackupFailureDays", the engine's count of days without a completed scheduled backup, and
    // the monitor's next daily check (the TrayIcon values of UserName.ini) emptied, so that it is
    // made at the watcher's next tick.
    bool SetMissedDays(unsigned days);
    // count logs of every kind into the session folder, the newest ending now.
    bool WriteSessionLogs(unsigned count);
    // Idle: no job, no result, no continuous backup, no quota marker, no failure file.
    bool Reset();

    // Why the last action failed, for the console.
    const std::vector<std::string>& Errors() const { return errors_; }

  private:
    // Collects the settings layer's error lines for Errors().
    class ErrorSink final : public ITraceSink {
      public:
        explicit ErrorSink(std::vector<std::string>& errors) : errors_(errors) {}
        void WriteTrace(std::string_view text) override { errors_.emplace_back(text); }
        void Info(std::string_view) override {}
        void Error(std::string_view message) override { errors_.emplace_back(message); }

      private:
        std::vector<std::string>& errors_;
    };

    // The user folder, created when missing; empty (and an error noted) when nobody is logged in.
    std::filesystem::path UserFolder();
    std::filesystem::path ScheduleFile(const std::filesystem::path& userFolder) const;
    bool WriteStatus(std::string_view key, std::string_view value);
    bool SetRunMarker(const std::filesystem::path& userFolder, std::string_view marker, bool createSchedule);
    bool WriteStatusFiles(const std::filesystem::path& userFolder, bool success);
    bool WriteSessionLog(const std::filesystem::path& userFolder, bool success, const DateTime& endedAt);
    bool Note(bool done, std::string_view what);

    std::vector<std::string> errors_;
    Folders folders_;
    win::Win32ProfileStore store_;
    win::Win32Registry registry_;
    win::Win32CodePage codePage_;
    win::Win32Clock clock_;
    CurrentUser users_;
    ErrorSink trace_;
    SharedValues values_;
};

}  // namespace ovp::standin
