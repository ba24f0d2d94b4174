#pragma once
// `MissedBackupWatcher`, the callback of timer id 1 on the main form (every 20000 ms): keeps the
// service and the background engine running, handles a log-off while the monitor runs under the
// system account, warns once a day when scheduled backups have been missed, and re-creates
// missing default files.

#include <cstdint>
#include <string>

#include "context/app_context.h"
#include "ui/failure_notification.h"

namespace ovp {

// The Vista family looks at the service each time the retry counter reaches this.
inline constexpr int kServiceRetryLimit = 10;
// Missed days before the warning when the profile names none.
inline constexpr std::int64_t kDefaultWarningDays = 7;

// The moment of the next daily check as stored: year, month, day, hour and minute. The parts are
// compared as one moment, never one by one.
struct CheckMoment {
    std::int64_t year = 0, month = 0, day = 0, hour = 0, minute = 0;
    auto operator<=>(const CheckMoment&) const = default;
};

CheckMoment MomentOf(const DateTime& at);

// Whether the daily check is due at `now`. A stored moment more than a day and a minute ahead
// can only come from a clock that was wrong when it was stored; it would hold the check back
// until that date, so it counts as due.
bool IsCheckDue(const CheckMoment& stored, const DateTime& now);

// The next check: the same minute tomorrow, by the calendar.
CheckMoment NextCheckAfter(const DateTime& now);

class MissedBackupWatcher {
  public:
    // warning: told when the missed days have reached the user's limit; outlives the watcher.
    MissedBackupWatcher(AppContext& context, IMissedBackupWarning& warning);

    // One tick; every step runs on its own and nothing leaves it.
    void Tick() noexcept;

    // ---- The steps, in the order of a tick ----
    // 1. The backup-set size tool only runs beside the classic client.
    void EndSizeToolWithoutClassic();
    // 2. "LogOff" "1" under the system account: the log-off is taken note of.
    void HandleSystemAccountLogOff();
    // 3. "Tray" "0": the background engine is started when needed.
    void KeepBackgroundRunning();
    // 4. The service: on every tick before Vista, every fifth tick on the Vista family.
    void WatchService();
    // 5. The installed version ("Version" under "Application").
    std::string ReadInstalledVersion();
    // 6. The daily missed-backup check.
    void DailyMissedBackupCheck(const std::string& installedVersion);
    // 7. Missing default files of a new user.
    void RecreateMissingDefaultFiles();

  private:
    // The stored moment of the next daily check; an empty part is now's.
    CheckMoment ReadCheckMoment(const DateTime& now);
    void StoreCheckMoment(const CheckMoment& moment);
    void WarnAboutMissedBackups();
    void NoteVersionChange(const std::string& installedVersion);

    AppContext& context_;
    IMissedBackupWarning& warning_;
};

// Whether the process runs under the system account, as Windows spells that account.
bool IsSystemAccount(std::string_view userName);

}  // namespace ovp
