#pragma once
// Continuous backup on and off from the tray menu, its resumption after scheduled jobs paused it,
// and the texts that explain its failures.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "commands/command_env.h"

namespace ovp {

// The message a double-click shows for a continuous-backup failure state (`TrayStateCode` 12 to
// 20); "" for the states without one.
std::string ContinuousBackupFailureText(AppContext& context, int trayStateCode);

// `mnuCDP`: asks, and arms `CDPTimer` on "Proceed".
void mnuCDP_Click(CommandEnv& env);

// `CDPTimer`: switches on or off as the item's check mark says.
void CDPTimer_Timer(CommandEnv& env);

// Releases one scheduled-job pause and resumes continuous backup when none is left.
void RestartRealtimeSystem(AppContext& context);

// Told every answer of the running-job test (the 2-second tick): a scheduled job that has ended
// while continuous backup is paused releases its pause.
void OnScheduledJobTest(AppContext& context, std::int16_t answer);

// The user's choice, "1" or "0", in both places it is kept (`RealTimeBackup` of UserName.ini and of
// the user's profile file).
void WriteRealTimeBackupChoice(AppContext& context, std::string_view value);

// The continuous-backup library in the application folder.
std::filesystem::path RealTimeLibrary(const AppContext& context);

}  // namespace ovp
