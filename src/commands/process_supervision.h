#pragma once
// The engine's interactive backups and restores, as the monitor supervises them: whether one runs,
// the cancel the user confirms, and the clean-up when the user is logged out.

#include <filesystem>
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

// ---- Shared by the clean-up, the logout command and continuous backup ----

// A trace line of these procedures: the date, "   [INFORMATION] " and the text.
void TraceInformation(AppContext& context, std::string_view text);

// An interactive backup or restore runs exactly while `Status` of BackupStatus is "1" or "2".
bool InteractiveJobRunning(AppContext& context);

// The clean-up's start: the connection state becomes 0 (logged out), the quota items go from the
// menu, the tooltip is emptied and the quota marker deleted.
void BeginLogout(CommandEnv& env);

// How the clean-up names the backup client in its trace: the logout by another program calls it
// the interactive backup and ends it only when the context menu started it; the change of user and
// the logout command call it the context backup.
enum class CleanupTraces { ExplorerLogout, UserChange };

// The clean-up's middle: the running interactive backup and restore clients, then the main
// application's window and process.
void EndInteractiveJobsAndApplication(CommandEnv& env, CleanupTraces traces);

// The shell helper library in the application folder.
std::filesystem::path ShellHelperLibrary(const AppContext& context);

// Starts the main application from the application folder with the verb "open".
void StartMainApplication(AppContext& context);

// Closes the main application's login window ("<display name> - Login") when it is open.
void CloseLoginWindow(AppContext& context);

}  // namespace ovp
