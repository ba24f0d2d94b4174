#pragma once
// Continuous backup on and off from the tray menu, its resumption after scheduled jobs paused it,
// and the texts that explain its failures.

#include <cstdint>
#include <string>

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

}  // namespace ovp
