#pragma once
// What the tray status monitor keeps from one tick to the next. The tray menu and the
// continuous-backup control read the state code; everything else belongs to the monitor.

#include <cstdint>

namespace ovp {

// Values of `TrayStateCode`.
inline constexpr std::int16_t kTrayStateIdle = 0;
inline constexpr std::int16_t kTrayStateScheduledRunning = 1;
inline constexpr std::int16_t kTrayStateScheduledEnded = 2;
inline constexpr std::int16_t kTrayStateFailure = 3;
// 11 to 20: continuous backup, this base plus "RTBackup" (1 to 10).
inline constexpr std::int16_t kTrayStateContinuousBase = 10;

struct TrayStatusState {
    std::int16_t TrayStateCode = kTrayStateIdle;
    // Blinking: which of the two pictures of an alternation was shown last.
    bool scheduleBlink = false;    // the running picture (against the normal one)
    bool continuousBlink = false;  // the first continuous-backup picture
    bool quotaBlink = false;       // the first quota picture
    // Continuous backup seen active or idle: only the first active tick waits a second.
    bool continuousSeenActive = false;
    bool continuousSeenIdle = false;
    // The monitor has asked the system to stay awake for a standby backup.
    bool keepAwake = false;
};

}  // namespace ovp
