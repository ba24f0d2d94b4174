#include "commands/login.h"

#include <string>

#include "base/resume_next.h"
#include "base/text.h"
#include "commands/command_run.h"
#include "commands/continuous_backup.h"
#include "commands/process_supervision.h"
#include "contract/engine_contract.h"
#include "contract/locale_file.h"
#include "scheduler/schedule_file.h"
#include "ui/message_box.h"

namespace ovp {

namespace c = contract;

namespace {

constexpr std::string_view kLoginCaption = "&Login";
constexpr int kLogoutQuestionTextId = 1367;
constexpr std::string_view kScheduledProgressRunning = "2";

void Logout(CommandEnv& env) {
    AppContext& context = env.context;
    ResumeNext(
        [&] { context.ports.companions.SendMsgToApp(ShellHelperLibrary(context), contract::kUserChangeMessage); });
    BeginLogout(env);
    ResumeNext([&] { TraceInformation(context, "Logged out and set Connection Paramter to 0"); });
    // A scheduled backup still in progress after its run marker was cleared (or its schedule file
    // removed) is told to stop.
    ResumeNext([&] {
        if (TrimWhitespace(context.values.ReadProfile(c::kBackupStatusSection, c::kProgStatus)) !=
            kScheduledProgressRunning) {
            return;
        }
        // A missing schedule file reads as an empty, idle marker.
        if (IsIdleRunMarker(Readfirstline(ScheduleFilePath(context.values.UserFolder()), context.ports.codePage))) {
            context.values.WriteProfile(c::kBackupStatusSection, c::kStatus, c::kStatusStopRequest);
        }
    });
    EndInteractiveJobsAndApplication(env, CleanupTraces::UserChange);
    ResumeNext([&] { WriteRealTimeBackupChoice(context, "0"); });
    ResumeNext([&] {
        context.values.WriteUserNameOrvessa(c::kRTBPausedBySch, "0");
        context.values.WriteUserNameOrvessa(c::kRTBackup, "0");
    });
    ResumeNext([&] { context.ports.companions.PostCDPStatusMsg(RealTimeLibrary(context), kContinuousBackupOff); });
}

}  // namespace

void MnuLogin_Click(CommandEnv& env) {
    CommandRun run(env, "MnuLogin");
    if (!run.Acquired()) {
        return;
    }
    AppContext& context = env.context;
    ResumeNext([&] {
        if (context.trayMenu.Item(TrayMenuItem::MnuLogin).caption == kLoginCaption) {
            ResumeNext([&] { CloseLoginWindow(context); });
            StartMainApplication(context);
            return;
        }
        const std::string& product = context.settings.productName;
        const std::string question = LocaleStringOr(context.texts, kLogoutQuestionTextId,
                                                    "Are you sure you want to logout from " + product + "?", product);
        if (Question(env.messageBox, question, "Yes", "Cancel", env.host.OwnerWindow())) {
            Logout(env);
        }
    });
}

}  // namespace ovp
