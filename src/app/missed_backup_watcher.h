#pragma once
// `MissedBackupWatcher`, the callback of timer id 1 on the main form (every 20000 ms): keeps the
// service and the background engine running, handles a log-off while the monitor runs under the
// system account, and re-creates missing default files. The daily missed-backup check (its
// sixth step) is a hook that arrives with the failure notification window.

#include <string>

#include "context/app_context.h"

namespace ovp {

// The Vista family looks at the service each time the retry counter reaches this.
inline constexpr int kServiceRetryLimit = 10;

class MissedBackupWatcher {
  public:
    explicit MissedBackupWatcher(AppContext& context) : context_(context) {}

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
    AppContext& context_;
};

// Whether the process runs under the system account, as Windows spells that account.
bool IsSystemAccount(std::string_view userName);

}  // namespace ovp
