// Placeholder bodies until the supervision, login and continuous-backup commands land.
#include "commands/account_check.h"
#include "commands/continuous_backup.h"
#include "commands/login.h"
#include "commands/process_supervision.h"

namespace ovp {

std::string ContinuousBackupFailureText(AppContext&, int) {
    return {};
}
void mnuCDP_Click(CommandEnv&) {}
void CDPTimer_Timer(CommandEnv&) {}
void RestartRealtimeSystem(AppContext&) {}
void MnuLogin_Click(CommandEnv&) {}
void ExplorerLogout(CommandEnv&) {}

}  // namespace ovp
