#pragma once
// The command line of the engine simulator, OVPEngineSim.exe:
//     start [job]                      a scheduled job begins (job: its record number, default 1)
//     finish success|failure [--no-window]
//     play success|failure [seconds]   start, wait (default 10 s), finish with the status window
//     cdp <0..10>                      continuous-backup state
//     quota <used> <max>               storage used and allowed, in bytes
//     quota-marker on|off              the quota-exceeded marker file
//     connection-status <n>            the engine's connection state in the registry
//     missed <days>                    days without a completed scheduled backup; the monitor's
//                                      next daily check is made due at once
//     logs <count>                     session logs of every kind and encoding, an hour apart
//     reset                            back to idle

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ovp::standin {

enum class SimAction { Start, Finish, Play, Cdp, Quota, QuotaMarker, ConnectionStatus, Missed, Logs, Reset };

struct SimCommand {
    SimAction action = SimAction::Reset;
    std::string job = "1";         // start
    bool success = true;           // finish, play
    bool statusWindow = true;      // finish
    unsigned seconds = 10;         // play
    int cdpState = 0;              // cdp
    std::string used, max;         // quota, as plain decimal numbers
    bool markerOn = false;         // quota-marker
    std::uint32_t connection = 0;  // connection-status
    unsigned missedDays = 0;       // missed
    unsigned logCount = 0;         // logs
};

// A longer play is a mistake, not a demo.
inline constexpr unsigned kMaxPlaySeconds = 3600;
inline constexpr int kMaxCdpState = 10;
inline constexpr unsigned kMaxMissedDays = 9999;
inline constexpr unsigned kMaxSimulatedLogs = 200000;

// The arguments after the program name; nullopt for anything the usage text does not allow.
std::optional<SimCommand> ParseSimCommand(const std::vector<std::string>& arguments);
std::string_view SimUsageText();
// The command as one line of the stand-ins' event log, e.g. "finish failure (no window)".
std::string DescribeSimCommand(const SimCommand& command);

}  // namespace ovp::standin
