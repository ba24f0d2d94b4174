#pragma once
// `TrayStatusMonitor`, the callback of timer id 5 on the main form (every 2000 ms): shows the
// engine's state in the tray icon's picture and tooltip, keeps the quota marker, the shadow-copy
// status files and the keep-awake request in step with the engine, opens the status window when
// the engine asks for it, and records the state in `TrayStateCode`.
//
// A tick runs thirteen steps in a fixed order; a later step overrides the picture and tooltip of
// an earlier one, so precedence rises from the idle or scheduled-job display through the last
// backup's result and continuous backup to the quota. A tick reads each shared ini file and the
// schedule file once and decides from that one state of each (the engine rewrites them from its own processes at any
// moment); its own writes are read back within the tick, and nothing read is kept to the next.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/status_window_host.h"
#include "context/app_context.h"
#include "context/tray_status_state.h"
#include "platform/tray.h"
#include "scheduler/schedule_file.h"
#include "settings/current_user.h"
#include "settings/profile_snapshot.h"
#include "settings/shared_values.h"
#include "settings/transfer.h"

namespace ovp {

// The blocking waits of a tick: after the engine reported the end of a backup, and on the first
// tick in which continuous backup is active.
inline constexpr std::uint32_t kBackupEndedWaitMs = 3000;
inline constexpr std::uint32_t kContinuousStartWaitMs = 1000;

// "DLLStatus" as the 16-bit code the engine reports; nullopt when empty or no such whole number
// (both mean "no report").
std::optional<std::int16_t> ParseDllStatus(std::string_view text);

// "RTBackup" as a continuous-backup state 0 to 10; anything else, empty or not a whole number,
// is 0 (idle).
int ParseContinuousBackupState(std::string_view text);

class TrayStatusMonitor {
  public:
    TrayStatusMonitor(AppContext& context, ITrayIcon& tray, IStatusWindowHost& statusWindow);

    TrayStatusMonitor(const TrayStatusMonitor&) = delete;
    TrayStatusMonitor& operator=(const TrayStatusMonitor&) = delete;

    // One tick. A failure ends the tick and is traced; nothing leaves it.
    void Tick() noexcept;

    // A missing picture file leaves the picture shown. Within a tick the picture and tooltip
    // reach the tray once, at its end, as the last step set them: the steps override each other,
    // and passing each one on would flash the overridden pictures for a moment every tick.
    void SetTrayIcon(const std::filesystem::path& iconFile);
    // Cut as CutTrayTip does.
    void SetTrayTip(std::string_view text);
    // The schedule tooltip: why there is no next backup, the quota message, or the sentence
    // about the next start or the last backup.
    std::string GetTrayTipText();

  private:
    void RunSteps();
    // ---- The steps, in the order of a tick ----
    void DeleteQuotaMarkerWhenBelowMax();  // 1
    void ReleaseKeepAwake();               // 2
    void RequestKeepAwake();               // 3
    void TakeScheduledJobState();          // 4
    void ShowScheduleState();              // 5 and 6
    void ShowLastBackupResult();           // 7
    void OpenStatusWindowWhenAsked();      // 8
    void TakeEngineReport();               // 9
    void TakeContinuousBackupState();      // 10
    void ShowContinuousBackup();           // 11
    void ShowQuotaExceeded();              // 12
    void ShowQuotaTip();                   // 13

    void ResetShadowCopyStatusFiles();
    std::optional<std::int16_t> ReadDllStatus();
    std::string ReadBackupStatus(std::string_view key);
    bool ScheduledJobMarked();
    bool ScheduleDisabled();

    std::filesystem::path ScheduleFile();
    // The schedule file, read once per tick.
    const ScheduleFileReading& Schedule();
    std::filesystem::path QuotaMarkerFile();
    bool QuotaMarkerExists();
    std::filesystem::path Picture(std::string_view name) const;
    // The custom picture of the brand build when its file is there, else the named one.
    std::filesystem::path BrandedPicture(std::string_view name) const;
    std::string Text(int id, std::string_view english);
    std::string QuotaText();
    std::string WithProductName(std::string_view productName, int id, std::string_view english);

    void TraceFailure(std::string_view reason) noexcept;
    void ShowPending() noexcept;

    AppContext& context_;
    ITrayIcon& tray_;
    IStatusWindowHost& statusWindow_;
    TrayStatusState& state_;
    ProfileSnapshot profiles_;
    CurrentUser user_;
    SharedValues values_;
    clsTransfer transfer_;
    std::optional<ScheduleFileReading> schedule_;
    bool inTick_ = false;
    std::optional<std::filesystem::path> pendingIcon_;
    std::optional<std::string> pendingTip_;
};

}  // namespace ovp
