#include "commands/tray_commands.h"

#include <cmath>
#include <string>

#include "base/files.h"
#include "base/resume_next.h"
#include "base/text.h"
#include "commands/command_run.h"
#include "commands/continuous_backup.h"
#include "commands/login.h"
#include "commands/process_supervision.h"
#include "commands/version_update.h"
#include "commands/web_management.h"
#include "contract/engine_contract.h"
#include "contract/locale_file.h"
#include "net/web_link.h"
#include "scheduler/job_control.h"
#include "scheduler/schedule_file.h"
#include "service/process_check.h"
#include "ui/message_box.h"
#include "ui/open_document.h"

namespace ovp {

namespace c = contract;
using Item = TrayMenuItem;

namespace {

constexpr std::string_view kTrue = "TRUE";
constexpr std::string_view kOff = "0";
constexpr std::string_view kOn = "1";
// The main application's window title for the brand product.
constexpr std::string_view kBrandApplicationTitle = "Orvessa Professional";
constexpr std::string_view kDriveLauncherArgument = "LaunchDrive";
constexpr std::string_view kBackupRestoreLog = "Log\\Backup_Restore_log.log";
constexpr std::string_view kCloseCaption = "Close";

constexpr std::string_view kTraceConnection = "Connection param = ";

// `TrayStateCode` values of continuous-backup failures whose reason a double-click explains; 14
// and 16 have none (16, the quota, has the double-click's quota branch).
bool ExplainsContinuousFailure(int code) {
    switch (code) {
        case 12:
        case 13:
        case 15:
        case 17:
        case 18:
        case 19:
        case 20:
            return true;
        default:
            return false;
    }
}

constexpr int kContinuousQuotaState = kTrayStateContinuousBase + c::kRTBackupQuotaExceeded;

// The items of the older menu, which is never popped up, act as their twins in the tray menu.
Item TwinOf(Item item) {
    switch (item) {
        case Item::mnuStop1:
            return Item::mnuStop;
        case Item::mnuBackupNow:
            return Item::mnuBackupNowIDE;
        case Item::mnuschinfo1:
        case Item::mnuschinfo11:
            return Item::mnuschinfo;
        case Item::mnuEnableScheduleBackup:
            return Item::MnuDisableAutobkup;
        case Item::mnuShutdown:
            return Item::MnuExit;
        case Item::MnuSessionlog:
            return Item::mnuSession;
        default:
            return item;
    }
}

}  // namespace

// ---- The mouse on the tray icon -----------------------------------------------------------------

void TrayCommands::SysTrayMouseEventHandler(TrayMouse mouse) noexcept {
    ResumeNext([&] {
        if (mouse == TrayMouse::DoubleClick) {
            TrayDoubleClick();
        } else {
            TrayRightClick();
        }
    });
}

void TrayCommands::TrayDoubleClick() {
    AppContext& context = env_.context;
    ResetFinishedJobStatus();

    const std::string user = context.values.CurrentUserName();
    if (!TrimWhitespace(user).empty() && env_.context.values.ConnectionStatus() != 0 && QuotaMarkerExists()) {
        OpenUpgradePage();
        DeleteFileIfExists(context.values.UserFolder() / PathFromUtf8(c::kQuotaExceededFile));
        if (context.trayStatus.TrayStateCode == kContinuousQuotaState) {
            context.values.WriteUserNameOrvessa(c::kRTBackup, kOff);
            context.trayStatus.TrayStateCode = kTrayStateIdle;
        }
        return;
    }

    const int code = context.trayStatus.TrayStateCode;
    if (ExplainsContinuousFailure(code)) {
        // Read first: the state is reset before the message, which waits for the user.
        const std::string message = ContinuousBackupFailureText(context, code);
        context.values.WriteUserNameOrvessa(c::kRTBackup, kOff);
        context.trayStatus.TrayStateCode = kTrayStateIdle;
        MessageBoxRequest request;
        request.message = message;
        request.secondCaption = std::string(kCloseCaption);
        request.iconKind = "info";
        request.title = context.settings.caption;
        request.owner = env_.host.OwnerWindow();
        env_.messageBox.Show(request);
        return;
    }

    const std::string interactive = context.values.ReadUserNameOrvessa(c::kInteractive);
    const WindowHandle window =
        context.ports.windows.FindTopLevelFramed(context.settings.caption, " (" + interactive + ")");
    if (window != 0) {
        context.ports.windows.BringToFront(window);
    } else {
        StartMainApplication(context);
    }
}

void TrayCommands::TrayRightClick() {
    AppContext& context = env_.context;
    TrayMenuModel& menu = context.trayMenu;
    MenuRefresh();

    const std::int64_t status = env_.context.values.ConnectionStatus();
    const bool userSet = !TrimWhitespace(context.values.CurrentUserName()).empty();
    if (IsBrandProduct(context.settings)) {
        for (const Item item : {Item::MnuQuotaExceeded, Item::BLLine, Item::GBAdditional, Item::MnuOpenDrive}) {
            menu.SetVisible(item, false);
        }
    } else if (userSet && status != 0) {
        const bool exceeded = QuotaMarkerExists();
        ShowQuotaItems(exceeded);
        if (!exceeded) {
            ApplyFreeOffer();
        }
    } else {
        menu.SetVisible(Item::GBAdditional, false);
        if (userSet) {
            ShowQuotaItems(false);
            ApplyFreeOffer();
        }
    }

    menu.SetEnabled(Item::mnuStop, IsScheduledJobRunning(context.values, context.jobMemory) == kScheduledJobRunning);
    // Continuous backup can only be switched for a logged-in user: the refresh has decided it.
    menu.SetEnabled(Item::mnuCDP, menu.Item(Item::MnuLogin).enabled);
    env_.host.PopUpTrayMenu(menu);
}

void TrayCommands::ShowQuotaItems(bool quotaExceeded) {
    TrayMenuModel& menu = env_.context.trayMenu;
    menu.SetCaption(Item::MnuQuotaExceeded, quotaExceeded ? Text(kTextQuotaExceeded, "Quota Exceeded. Upgrade Now!")
                                                          : Text(kTextUpgradeAccount, "Upgrade Account"));
    menu.SetVisible(Item::MnuQuotaExceeded, true);
    menu.SetEnabled(Item::MnuQuotaExceeded, true);
    menu.SetVisible(Item::BLLine, true);
}

void TrayCommands::ApplyFreeOffer() {
    AppContext& context = env_.context;
    context.interactiveUser = context.values.ReadUserNameOrvessa(c::kInteractive);
    const Quota quota = context.values.ReadQuota();
    const bool offer = quota.max == kFreeOfferQuotaBytes && Trim(context.settings.productName) == kFreeOfferProductName;
    context.trayMenu.SetVisible(Item::GBAdditional, offer);
    context.trayMenu.SetEnabled(Item::GBAdditional, offer);
}

// ---- The menu refresh ---------------------------------------------------------------------------

void TrayCommands::MenuRefresh() {
    AppContext& context = env_.context;
    const std::int64_t status = env_.context.values.ConnectionStatus();
    context.trace.Info(std::string(kTraceConnection) + std::to_string(status));

    ResumeNext([&] { RefreshWebManagement(); });
    ResumeNext([&] { RefreshCaptions(status == 1 || status == 2); });
    ResumeNext([&] {
        if (IsProcessRunning(context.ports.processes, context.names.classic)) {
            context.trayMenu.SetEnabled(Item::MnuOptions, false);
        }
    });
    ResumeNext([&] {
        const bool disabled = Trim(context.transfer.Trf_ReadUserProfile(c::kScheduleDisable)) == kTrue;
        context.trayMenu.SetCaption(Item::MnuDisableAutobkup, Text(kTextDisableScheduled, "Disable Scheduled Backup"));
        context.trayMenu.SetChecked(Item::MnuDisableAutobkup, disabled);
    });
    ResumeNext([&] { RefreshContinuousBackup(); });
}

void TrayCommands::RefreshWebManagement() {
    AppContext& context = env_.context;
    TrayMenuModel& menu = context.trayMenu;
    menu.SetVisible(Item::WebPlugin, true);
    menu.SetEnabled(Item::WebPlugin, true);
    // An empty switch counts as on: only "0" is off.
    if (Trim(context.values.ReadProfile(c::kWebSection, c::kWebPlugin)) == kOff) {
        menu.SetChecked(Item::WebPlugin, false);
        return;
    }
    const std::string errVal = context.values.ReadProfile(c::kOlwaSection, c::kErrVal);
    if (!IsWebManagementError(errVal) && !TrimWhitespace(context.values.CurrentUserName()).empty()) {
        context.values.WriteProfile(c::kOlwaSection, c::kErrVal, "");
        context.values.WriteProfile(c::kWebSection, c::kWebPlugin, kOn);
        menu.SetChecked(Item::WebPlugin, true);
    } else {
        menu.SetChecked(Item::WebPlugin, false);
    }
}

void TrayCommands::RefreshCaptions(bool loggedIn) {
    AppContext& context = env_.context;
    TrayMenuModel& menu = context.trayMenu;
    const ProductSettings& settings = context.settings;
    const bool brand = IsBrandProduct(settings);
    const std::string scheduleWord = Text(kTextScheduleBackupWord, "Schedule Backup");
    const std::string loginWord = Text(kTextLoginWord, "Login");
    if (loggedIn) {
        menu.SetEnabled(Item::MnuLogin, true);
        if (!brand) {
            menu.SetCaption(Item::MnuOpenDrive, Text(kTextOpenDrive, "Open " + settings.productName + " Explorer"));
        }
        menu.SetCaption(Item::MnuOptions, brand ? settings.caption : settings.productName + " - " + scheduleWord);
    } else {
        if (!brand) {
            menu.SetCaption(Item::MnuOpenDrive,
                            loginWord + " - " + settings.productName + " " + Text(kTextExplorerWord, "Explorer"));
        }
        menu.SetCaption(Item::MnuOptions,
                        loginWord + " - " + (brand ? settings.caption : settings.productName + " " + scheduleWord));
        menu.SetEnabled(Item::MnuLogin, false);
    }
    menu.SetEnabled(Item::MnuOptions, true);
}

void TrayCommands::RefreshContinuousBackup() {
    AppContext& context = env_.context;
    TrayMenuModel& menu = context.trayMenu;
    if (!menu.Item(Item::MnuLogin).enabled) {
        menu.SetChecked(Item::mnuCDP, false);
        menu.SetEnabled(Item::mnuCDP, false);
        return;
    }
    menu.SetEnabled(Item::mnuCDP, true);
    const std::string choice = Trim(context.transfer.Trf_ReadUserProfileWithoutDecrypt(c::kRealTimeBackup));
    if (choice == kOn || choice == kOff) {
        menu.SetChecked(Item::mnuCDP, choice == kOn);
        WriteRealTimeBackupChoice(context, choice);
    } else {
        menu.SetChecked(Item::mnuCDP, false);
    }
}

// ---- The commands -------------------------------------------------------------------------------

void TrayCommands::OnMenuCommand(TrayMenuItem item) noexcept {
    ResumeNext([&] {
        const Item command = TwinOf(item);
        if (command == Item::MnuExit) {
            ExitWhenNoCommandRuns(env_);
            return;
        }
        Dispatch(command);
    });
}

void TrayCommands::OnCommandTimer(CommandTimer timer) noexcept {
    ResumeNext([&] {
        switch (timer) {
            case CommandTimer::CDPTimer:
                CDPTimer_Timer(env_);
                break;
            case CommandTimer::WebMTimer:
                WebMTimer_Timer(env_);
                break;
        }
    });
}

void TrayCommands::Dispatch(Item item) {
    AppContext& context = env_.context;
    switch (item) {
        case Item::mnuStatus:
            env_.host.OpenWindow(FeatureWindow::StatusWindow);
            break;
        case Item::mnuBackupNowIDE:
            context.values.WriteProfile(c::kBackupStatusSection, c::kBackupNowTray, kOn);
            RestartMainApplication();
            break;
        case Item::MnuOptions:
            RestartMainApplication();
            break;
        case Item::MnuOpenDrive:
            if (!context.names.driveLauncher.empty()) {
                ShellRequest request;
                request.file = context.folders.AppFolder() / PathFromUtf8(context.names.driveLauncher);
                request.arguments = std::string(kDriveLauncherArgument);
                request.workingFolder = context.folders.AppFolder();
                context.ports.shell.Execute(request);
            }
            break;
        case Item::MnuViewLog:
        case Item::mnuSession:
            ViewLog();
            break;
        case Item::mnuschinfo:
            env_.host.OpenWindow(FeatureWindow::ScheduleManager);
            break;
        case Item::mnuStop:
            mnuStop_Click(context.values.CurrentUserName());
            break;
        case Item::MnuDisableAutobkup:
            ToggleScheduleDisable();
            break;
        case Item::mnuCDP:
            mnuCDP_Click(env_);
            break;
        case Item::MnuQuotaExceeded:
            MnuQuotaExceeded_Click(env_);
            break;
        case Item::GBAdditional:
            OpenWebPage(context.ports.shell, context.trace,
                        UserPageLink(context.settings.links.promote, context.values.CurrentUserName(),
                                     context.settings.language),
                        ShellRetry::OnAnyFailure);
            break;
        case Item::MnuAbout:
            env_.host.OpenWindow(FeatureWindow::About);
            break;
        case Item::MnuSendReport:
            env_.host.OpenWindow(FeatureWindow::ErrorReport);
            break;
        case Item::MnuHelp:
            OpenHelpGuide(env_.context);
            break;
        case Item::MnuLogin:
            MnuLogin_Click(env_);
            break;
        case Item::MnuOpen:
            OpenRecentLog();
            break;
        case Item::WebPlugin:
            if (WebPlugin_Click(env_) == WebPluginClick::LoginNeeded) {
                RestartMainApplication();
            }
            break;
        case Item::mnuVersionUpdate:
            mnuVersionUpdate_Click(env_);
            break;
        default:
            break;  // separators and items without a command
    }
}

StopRequest TrayCommands::mnuStop_Click(std::string_view userName) {
    AppContext& context = env_.context;
    ScheduleJobOptionsStore options(context.values, context.transfer, context.ports.codePage);
    const StopRequest result = options.RequestStop(userName);
    if (result == StopRequest::NotRunning) {
        context.trayMenu.SetEnabled(Item::mnuStop, false);
    } else if (result == StopRequest::WriteFailed) {
        context.trace.Error("The stop request for the scheduled backup of " + std::string(userName) +
                            " could not be written");
    }
    return result;
}

void TrayCommands::RestartMainApplication() {
    AppContext& context = env_.context;
    const std::string title =
        IsBrandProduct(context.settings) ? std::string(kBrandApplicationTitle) : context.settings.caption;
    if (const WindowHandle window = context.ports.windows.FindTopLevel(title)) {
        context.ports.windows.Close(window);
    }
    StartMainApplication(context);
}

void TrayCommands::ViewLog() {
    env_.host.OpenWindow(FeatureWindow::LogViewer);
    ResetFinishedJobStatus();
}

void TrayCommands::ToggleScheduleDisable() {
    AppContext& context = env_.context;
    TrayMenuModel& menu = context.trayMenu;
    const bool disable = !menu.Item(Item::MnuDisableAutobkup).checked;
    menu.SetCaption(Item::MnuDisableAutobkup, Text(kTextDisableScheduled, "Disable Scheduled Backup"));
    if (context.transfer.Trf_WriteUserProfile(c::kScheduleDisable, disable ? kTrue : "FALSE")) {
        menu.SetChecked(Item::MnuDisableAutobkup, disable);
    }
}

void TrayCommands::OpenUpgradePage() {
    AppContext& context = env_.context;
    OpenWebPage(context.ports.shell, context.trace,
                UserPageLink(context.settings.links.accountUpgrade, context.values.CurrentUserName(),
                             context.settings.language),
                ShellRetry::OnNoAssociation);
}

void TrayCommands::OpenRecentLog() {
    AppContext& context = env_.context;
    const std::filesystem::path userFolder = context.values.UserFolder();
    if (!IsProcessRunning(context.ports.processes, context.names.client) &&
        context.trayStatus.TrayStateCode != kTrayStateScheduledRunning) {
        OpenDocument(context.ports.shell, userFolder / PathFromUtf8(kBackupRestoreLog));
    } else if (const auto newest = NewestFileIn(userFolder / PathFromUtf8(c::kSessionFolder)); !newest.empty()) {
        OpenDocument(context.ports.shell, newest);
    }
}

void TrayCommands::ResetFinishedJobStatus() {
    SharedValues& values = env_.context.values;
    const std::string dllStatus = Trim(values.ReadProfile(c::kBackupStatusSection, c::kDllStatus));
    if (dllStatus != c::kDllStatusFailed && dllStatus != c::kDllStatusCompleted) {
        return;
    }
    if (Trim(values.ReadProfile(c::kBackupStatusSection, c::kStatus)) == c::kStatusStopRequest) {
        return;
    }
    values.WriteProfile(c::kBackupStatusSection, c::kDllStatus, c::kDllStatusNothing);
}

// ---- Values -------------------------------------------------------------------------------------

bool TrayCommands::QuotaMarkerExists() {
    return FileExists(env_.context.values.UserFolder() / PathFromUtf8(c::kQuotaExceededFile));
}

std::string TrayCommands::Text(int id, std::string_view english) {
    return LocaleStringOr(env_.context.texts, id, english, env_.context.settings.productName);
}

}  // namespace ovp
