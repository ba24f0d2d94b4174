#pragma once
// The engine's interactive backups and restores, as the monitor supervises them: whether one runs,
// the cancel the user confirms, and the clean-up when the user is logged out.

#include <string_view>

#include "commands/command_env.h"
#include "contract/product_config.h"
#include "platform/processes.h"

namespace ovp {

// An executable path that names one of the engine's client programs: the client, the main
// application or the context-menu tool.
bool IsEngineClientImage(const ExecutableNames& names, std::string_view imagePath);

// Ends the process whose id was read from a shared file (`ClientPID`, `ClientPIDR`), but only when
// it is one of the engine's client programs in this logon session: such ids are often stale.
EndByIdResult EndEngineClient(AppContext& context, std::string_view storedId);

enum class CancelDecision { GoOn, Stop };

// Asks before cancelling a running interactive job; GoOn when none runs or the user cancelled it.
CancelDecision ConfirmedCancel(CommandEnv& env);

// The clean-up when the user is logged out by another program ("CloseInteractiveWindow").
void ExplorerLogout(CommandEnv& env);

// The same clean-up for a change of user, followed by a fresh start of the main application.
void Relogin(CommandEnv& env);

}  // namespace ovp
