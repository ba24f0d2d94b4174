#include "commands/continuous_backup.h"

#include <string>

#include "base/files.h"
#include "base/resume_next.h"
#include "base/text.h"
#include "commands/account_check.h"
#include "commands/command_run.h"
#include "commands/process_supervision.h"
#include "contract/configuration.h"
#include "contract/engine_contract.h"
#include "contract/locale_file.h"
#include "scheduler/job_control.h"
#include "scheduler/job_options.h"
#include "ui/message_box.h"

namespace ovp {

namespace c = contract;

namespace {

constexpr int kTextQuestionTitle = 5800;
constexpr std::string_view kQuestionTitle = "Continuous data protection (CDP)";
constexpr int kTextSwitchOnQuestion = 5801;
constexpr std::string_view kSwitchOnQuestion =
    "On enabling this option, files and folders selected for backup will be backed up in real time on detecting "
    "changes.";
constexpr int kTextSwitchOffQuestion = 5802;
constexpr std::string_view kSwitchOffQuestion =
    "On disabling this option, your files and folders will be backed up only at the next scheduled time.";

constexpr int kCaptionTextId = 972;
constexpr std::string_view kCaption = "Continuous Backup";
constexpr int kSwitchingOnTipTextId = 969;
constexpr std::string_view kSwitchingOnTip = "Enabling the Continuous Data Backup operation.";
constexpr int kSwitchingOffTipTextId = 971;
constexpr std::string_view kSwitchingOffTip = "Disabling Continuous Backup.";

// The stop of a running continuous job: three rounds of a stop request and a wait, in steps of
// 100 ms with window events let through every tenth step.
constexpr std::uint32_t kStopStepMs = 100;
constexpr int kStepsPerPump = 10;
constexpr int kFirstRoundSteps = 21;
constexpr int kSecondRoundSteps = 21;
constexpr int kLastRoundSteps = 51;

constexpr std::uint32_t kResumeWaitMs = 1000;
constexpr std::string_view kRetryAfterTwoHours = "2";

std::string Text(AppContext& context, int id, std::string_view english) {
    return LocaleStringOr(context.texts, id, english, context.settings.productName);
}

// A text whose brand word stands for the service's display name.
std::string ServiceText(AppContext& context, int id, std::string_view english) {
    return LocaleStringOr(context.texts, id, english, DisplayName(context.settings));
}

bool ContinuousJobRunning(AppContext& context) {
    return TrimWhitespace(context.values.ReadUserNameOrvessa(c::kRTBackup)) == "1";
}

long long PausesBySchedule(AppContext& context) {
    return ParseIntegerOr(context.values.ReadUserNameOrvessa(c::kRTBPausedBySch), 0);
}

void SendStopRequest(AppContext& context) {
    WriteStopRequest(context.values, context.values.CurrentUserName());
}

void WaitSteps(AppContext& context, int steps) {
    for (int step = 1; step <= steps; ++step) {
        context.ports.clock.Sleep(kStopStepMs);
        if (step % kStepsPerPump == 0) {
            context.ports.clock.WaitPumping(0);
        }
    }
}

void PostState(AppContext& context, std::int32_t state) {
    context.ports.companions.PostCDPStatusMsg(RealTimeLibrary(context), state);
}

// The hourglass from Show until Restore, or until the command ends whichever way.
class BusyCursor {
  public:
    explicit BusyCursor(ICommandHost& host) : host_(host) {}
    ~BusyCursor() { Restore(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    void Show() {
        host_.SetBusyCursor(true);
        shown_ = true;
    }
    void Restore() noexcept {
        if (shown_) {
            shown_ = false;
            ResumeNext([this] { host_.SetBusyCursor(false); });
        }
    }

  private:
    ICommandHost& host_;
    bool shown_ = false;
};

void ResetMenuItem(AppContext& context) {
    context.trayMenu.SetCaption(TrayMenuItem::mnuCDP, Text(context, kCaptionTextId, kCaption));
    context.trayMenu.SetChecked(TrayMenuItem::mnuCDP, false);
}

void SwitchOn(CommandEnv& env, BusyCursor& cursor) {
    AppContext& context = env.context;
    if (ConfirmedCancel(env) == CancelDecision::Stop) {
        return;
    }
    WriteRealTimeBackupChoice(context, "1");
    cursor.Show();
    env.tray.SetTip(Text(context, kSwitchingOnTipTextId, kSwitchingOnTip));
    const std::int64_t result = AccountCheck(env);
    if (!AccountCheckSucceeded(result)) {
        TraceInformation(context, "Continuous backup stays off: the account check answered " + std::to_string(result));
        WriteRealTimeBackupChoice(context, "0");
        return;
    }
    ResetMenuItem(context);
    env.tray.SetTip(context.jobMemory.sharedStatusText);
    cursor.Restore();
    context.values.WriteUserNameRegistry(c::kCurrentUser, context.values.CurrentUserName());
    WriteRealTimeBackupChoice(context, "1");
    context.values.WriteUserNameOrvessa(c::kRTBPausedBySch, "0");
    context.ports.clock.WaitPumping(0);
    PostState(context, kContinuousBackupOn);
    context.ports.clock.WaitPumping(0);
}

void SwitchOff(CommandEnv& env, BusyCursor& cursor) {
    AppContext& context = env.context;
    env.tray.SetTip(Text(context, kSwitchingOffTipTextId, kSwitchingOffTip));
    cursor.Show();
    ResetMenuItem(context);
    if (ContinuousJobRunning(context)) {
        SendStopRequest(context);
    }
    WaitSteps(context, kFirstRoundSteps);
    if (ContinuousJobRunning(context)) {
        SendStopRequest(context);
    }
    WriteRealTimeBackupChoice(context, "0");
    WaitSteps(context, kSecondRoundSteps);
    if (ContinuousJobRunning(context)) {
        SendStopRequest(context);
        WaitSteps(context, kLastRoundSteps);
    }
    WriteRealTimeBackupChoice(context, "0");
    context.values.WriteUserNameOrvessa(c::kRTBPausedBySch, "0");
    PostState(context, kContinuousBackupOff);
    context.values.WriteUserNameOrvessa(c::kRTBackup, "0");
}

}  // namespace

std::string ContinuousBackupFailureText(AppContext& context, int trayStateCode) {
    const std::string service = DisplayName(context.settings);
    switch (trayStateCode) {
        case 12:
            return Text(context, 973,
                        "The backup operation has been stopped as the same username has been used on another computer "
                        "where the backup operation is in progress. To proceed further, register after the backup "
                        "operation on the other computer is over");
        case 13:
            return Text(context, 974,
                        "The Continuous Data Backup operation has failed as the password was changed from the website. "
                        "Login with the new Password and try again.");
        case 15: {
            const bool twoHours =
                TrimWhitespace(context.transfer.Trf_ReadUserProfileWithoutDecrypt(c::kCdpRetry)) == kRetryAfterTwoHours;
            const std::string start = "The Continuous Backup Operation has failed to connect to the " + service +
                                      " server. The application will automatically try to enable the operation again "
                                      "after ";
            return twoHours ? ServiceText(context, 975, start + "2 hours.")
                            : ServiceText(context, 976, start + "24 hours.");
        }
        case 17:
            return Text(context, 977, "The Continuous Data Backup Operation has failed as the username was canceled.");
        case 18:
            return Text(context, 1576,
                        "Check the proxy setting and enable the Continuous Data Backup operation again.");
        case 19:
        case 20:
            return ServiceText(context, 978,
                               "The " + service +
                                   " server is under maintenance. The application will automatically try to enable "
                                   "the Continuous Data Backup operation after 24 hours.");
        default:
            return "";
    }
}

void mnuCDP_Click(CommandEnv& env) {
    CommandRun run(env, "mnuCDP");
    if (!run.Acquired()) {
        return;
    }
    ResumeNext([&] {
        const bool on = env.context.trayMenu.Item(TrayMenuItem::mnuCDP).checked;
        AppContext& context = env.context;
        const std::string question = on ? Text(context, kTextSwitchOffQuestion, kSwitchOffQuestion)
                                        : Text(context, kTextSwitchOnQuestion, kSwitchOnQuestion);
        if (Question(env.messageBox, question, "Proceed", "Cancel", env.host.OwnerWindow(),
                     Text(context, kTextQuestionTitle, kQuestionTitle))) {
            env.host.ArmCommandTimer(CommandTimer::CDPTimer, true);
        }
    });
}

void CDPTimer_Timer(CommandEnv& env) {
    // One switch per click: the waits below let this timer's messages through.
    ResumeNext([&] { env.host.ArmCommandTimer(CommandTimer::CDPTimer, false); });
    CommandRun run(env, "CDPTimer");
    if (!run.Acquired()) {
        return;
    }
    BusyCursor cursor(env.host);
    try {
        if (env.context.trayMenu.Item(TrayMenuItem::mnuCDP).checked) {
            SwitchOff(env, cursor);
        } else {
            SwitchOn(env, cursor);
        }
    } catch (const std::exception& error) {
        ResumeNext([&] { env.context.trace.Error(std::string("Continuous backup switch: ") + error.what()); });
    } catch (...) {
        ResumeNext([&] { env.context.trace.Error("Continuous backup switch failed"); });
    }
}

void RestartRealtimeSystem(AppContext& context) {
    ResumeNext([&] {
        const long long before = PausesBySchedule(context);
        context.values.WriteUserNameOrvessa(c::kRTBPausedBySch, std::to_string(before > 1 ? before - 1 : 0));
        // Only the release of the last pause resumes, and never against the user's choice.
        if (before >= 1 && TrimWhitespace(context.values.ReadUserNameOrvessa(c::kRTBPausedBySch)) == "0" &&
            TrimWhitespace(context.values.ReadUserNameOrvessa(c::kRealTimeBackup)) == "1") {
            PostState(context, kContinuousBackupOn);
            context.ports.clock.Sleep(kResumeWaitMs);
        }
    });
}

void OnScheduledJobTest(AppContext& context, std::int16_t answer) {
    const std::int16_t previous = context.lastScheduledJobAnswer;
    context.lastScheduledJobAnswer = answer;
    if (previous == kScheduledJobRunning && answer != kScheduledJobRunning) {
        ResumeNext([&] {
            if (PausesBySchedule(context) > 0) {
                RestartRealtimeSystem(context);
            }
        });
    }
}

void WriteRealTimeBackupChoice(AppContext& context, std::string_view value) {
    context.values.WriteUserNameOrvessa(c::kRealTimeBackup, value);
    context.transfer.Trf_WriteUserProfileWithoutEncryptIdle(c::kRealTimeBackup, value);
}

std::filesystem::path RealTimeLibrary(const AppContext& context) {
    return context.folders.AppFolder() / PathFromUtf8(context.names.realTimeLibrary);
}

}  // namespace ovp
