#include "commands/process_supervision.h"

#include <cstdint>
#include <optional>
#include <string>

#include "base/files.h"
#include "base/resume_next.h"
#include "base/text.h"
#include "commands/continuous_backup.h"
#include "contract/configuration.h"
#include "contract/engine_contract.h"
#include "contract/locale_file.h"
#include "contract/trace.h"
#include "scheduler/job_options.h"
#include "service/process_check.h"
#include "ui/message_box.h"

namespace ovp {

namespace c = contract;

namespace {

constexpr std::string_view kInformation = "   [INFORMATION] ";

constexpr int kCancelQuestionTextId = 1580;
constexpr std::string_view kCancelQuestion = "A backup/restore job is in progress. Do you want to cancel it?";

// Ids up to this belong to the system's own processes; no client of ours has one.
constexpr std::uint32_t kHighestSystemProcessId = 4;

constexpr std::string_view kRunningJob1 = "1";
constexpr std::string_view kRunningJob2 = "2";

std::optional<std::uint32_t> ParseProcessId(std::string_view text) {
    const std::string id = TrimWhitespace(text);
    if (id.empty() || id.size() > 10) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char ch : id) {
        if (ch < '0' || ch > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(ch - '0');
    }
    if (value > UINT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::filesystem::path UserFile(AppContext& context, std::string_view name) {
    return context.values.UserFolder() / PathFromUtf8(name);
}

void WriteBackupStatus(AppContext& context, std::string_view key, std::string_view value) {
    context.values.WriteProfile(c::kBackupStatusSection, key, value);
}

// Continuous backup ends with the user's session.
void EndContinuousBackup(AppContext& context) {
    ResumeNext([&] {
        context.values.WriteUserNameOrvessa(c::kRTBackup, "0");
        context.values.WriteUserNameOrvessa(c::kRTBPausedBySch, "0");
    });
    ResumeNext([&] { context.ports.companions.PostCDPStatusMsg(RealTimeLibrary(context), kContinuousBackupOff); });
}

void Cleanup(CommandEnv& env, CleanupTraces traces) {
    ResumeNext([&] { TraceInformation(env.context, "Explorer logout"); });
    BeginLogout(env);
    EndInteractiveJobsAndApplication(env, traces);
    EndContinuousBackup(env.context);
}

}  // namespace

void BeginLogout(CommandEnv& env) {
    AppContext& context = env.context;
    ResumeNext([&] {
        context.values.WriteRegistryDword(RegistryRoot::CurrentUser, context.values.ConnectionParametersKey(),
                                          c::kRegStatus, 0);
    });
    ResumeNext([&] {
        context.trayMenu.SetVisible(TrayMenuItem::MnuQuotaExceeded, false);
        context.trayMenu.SetVisible(TrayMenuItem::BLLine, false);
        env.tray.SetTip("");
    });
    ResumeNext([&] { DeleteFileIfExists(UserFile(context, c::kQuotaExceededFile)); });
}

void TraceInformation(AppContext& context, std::string_view text) {
    context.trace.WriteTrace(TraceLine(context.ports.clock, kInformation, text));
}

bool InteractiveJobRunning(AppContext& context) {
    const std::string status = TrimWhitespace(context.values.ReadProfile(c::kBackupStatusSection, c::kStatus));
    return status == kRunningJob1 || status == kRunningJob2;
}

bool IsEngineClientImage(const ExecutableNames& names, std::string_view imagePath) {
    return IsSameExecutable(imagePath, names.client) || IsSameExecutable(imagePath, names.classic) ||
           IsSameExecutable(imagePath, names.contextMenu);
}

EndByIdResult EndEngineClient(AppContext& context, std::string_view storedId) {
    const std::optional<std::uint32_t> id = ParseProcessId(storedId);
    if (!id || *id <= kHighestSystemProcessId) {
        return EndByIdResult::NotRunning;
    }
    const ExecutableNames& names = context.names;
    const EndByIdResult result = context.ports.processes.EndById(
        *id, [&names](std::string_view imagePath) { return IsEngineClientImage(names, imagePath); });
    if (result == EndByIdResult::Refused) {
        ResumeNext([&] {
            TraceInformation(
                context, "Process ID = " + std::to_string(*id) + " is no backup client of this session; left running");
        });
    }
    return result;
}

CancelDecision ConfirmedCancel(CommandEnv& env) {
    AppContext& context = env.context;
    if (!InteractiveJobRunning(context)) {
        return CancelDecision::GoOn;
    }
    const std::string question =
        LocaleStringOr(context.texts, kCancelQuestionTextId, kCancelQuestion, context.settings.productName);
    if (!Question(env.messageBox, question, "Yes", "Cancel", env.host.OwnerWindow())) {
        return CancelDecision::Stop;
    }
    ResumeNext([&] { EndEngineClient(context, context.transfer.Trf_ReadUserProfile(c::kClientPid)); });
    ResumeNext([&] { EndEngineClient(context, context.transfer.Trf_ReadUserProfile(c::kClientPidR)); });
    ResumeNext([&] { WriteStopRequest(context.values, context.values.CurrentUserName()); });
    ResumeNext([&] { EndProcessesNamed(context.ports.processes, context.names.contextMenu); });
    ResumeNext([&] { DeleteFileIfExists(UserFile(context, c::kContextMenuRunFile)); });
    ResumeNext([&] { WriteBackupStatus(context, c::kStatus, c::kStatusStopRequest); });
    ResumeNext([&] {
        context.ports.profiles.Write(UserFile(context, c::kBackupProgressFile), c::kProgressInfoSection,
                                     c::kProgressCancel, "1");
    });
    return CancelDecision::GoOn;
}

void EndInteractiveJobsAndApplication(CommandEnv& env, CleanupTraces traces) {
    AppContext& context = env.context;
    ResumeNext([&] {
        const std::string status = context.values.ReadProfile(c::kBackupStatusSection, c::kStatus);
        TraceInformation(context, "IntBackup = " + status);
        if (!InteractiveJobRunning(context)) {
            return;
        }
        ResumeNext([&] {
            TraceInformation(context, "Interactive backup running for the user: " +
                                          context.values.ReadUserNameOrvessa(c::kInteractive));
        });
        ResumeNext([&] {
            const std::string backupId = context.transfer.Trf_ReadUserProfile(c::kClientPid);
            const bool fromContextMenu = FileExists(UserFile(context, c::kContextMenuRunFile));
            if (traces == CleanupTraces::ExplorerLogout) {
                TraceInformation(context, "Interactive backup with Process ID = " + backupId);
            } else {
                TraceInformation(context, "Context backup with Process ID = " + backupId);
                if (fromContextMenu) {
                    TraceInformation(context, "Terminating the process  " + backupId);
                }
            }
            if (fromContextMenu) {
                EndEngineClient(context, backupId);
                WriteBackupStatus(context, c::kStatus, c::kStatusIdle);
            }
        });
        ResumeNext([&] {
            const std::string restoreId = context.transfer.Trf_ReadUserProfile(c::kClientPidR);
            TraceInformation(context, "Interactive Restore with Process ID = " + restoreId);
            TraceInformation(context, "Terminating the process-Restore  " + restoreId);
            EndEngineClient(context, restoreId);
            WriteBackupStatus(context, c::kStatus, c::kStatusIdle);
        });
    });
    ResumeNext([&] {
        const std::string title = context.settings.caption + " (" + context.values.CurrentUserName() + ")";
        if (const WindowHandle window = context.ports.windows.FindTopLevel(title)) {
            context.ports.windows.Close(window);
        }
    });
    ResumeNext([&] { EndProcessesNamed(context.ports.processes, context.names.classic); });
}

void ExplorerLogout(CommandEnv& env) {
    Cleanup(env, CleanupTraces::ExplorerLogout);
}

void Relogin(CommandEnv& env) {
    AppContext& context = env.context;
    ResumeNext(
        [&] { context.ports.companions.SendMsgToApp(ShellHelperLibrary(context), contract::kUserChangeMessage); });
    Cleanup(env, CleanupTraces::UserChange);
    ResumeNext([&] { WriteRealTimeBackupChoice(context, "0"); });
    ResumeNext([&] { CloseLoginWindow(context); });
    ResumeNext([&] { StartMainApplication(context); });
}

std::filesystem::path ShellHelperLibrary(const AppContext& context) {
    return context.folders.AppFolder() / PathFromUtf8(contract::kShellHelperLibrary);
}

void StartMainApplication(AppContext& context) {
    ShellRequest request;
    request.verb = "open";
    request.file = context.folders.AppFolder() / PathFromUtf8(context.names.classic);
    request.workingFolder = context.folders.AppFolder();
    request.show = ShowMode::Normal;
    context.ports.shell.Execute(request);
}

void CloseLoginWindow(AppContext& context) {
    if (const WindowHandle window = context.ports.windows.FindTopLevel(DisplayName(context.settings) + " - Login")) {
        context.ports.windows.Close(window);
    }
}

}  // namespace ovp
