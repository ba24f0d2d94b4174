#include "app/startup.h"

#include <algorithm>
#include <system_error>
#include <utility>
#include <vector>

#include "base/files.h"
#include "base/resume_next.h"
#include "base/text.h"
#include "contract/configuration.h"
#include "contract/engine_contract.h"
#include "contract/os_info.h"
#include "settings/obscure.h"

namespace ovp {

namespace {

// A trace line whose text carries its own tag: date + text.
void TraceDated(AppContext& context, std::string_view text) {
    context.trace.WriteTrace(TraceLine(context.ports.clock, "", text));
}

std::string ReadErrVal(AppContext& context) {
    return context.transfer.Trf_ReadOutputValue(contract::kOlwaSection, contract::kErrVal);
}

fs::path TraceFileIn(const fs::path& folder) {
    return folder / PathFromUtf8(contract::kTrayTraceFile);
}

// Whether deleting `folder` with its contents stays inside `appFolder`: it must be the direct
// child of that name, and must not lead elsewhere through a link.
bool IsDeletableStartFolder(const fs::path& folder, const fs::path& appFolder, std::string_view installationName) {
    if (!IsSafeFolderName(installationName) || folder != appFolder / PathFromUtf8(installationName)) {
        return false;
    }
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(folder, error)) || error) {
        return false;
    }
    const fs::path realFolder = fs::canonical(folder, error);
    if (error) {
        return false;
    }
    const fs::path realApp = fs::canonical(appFolder, error);
    return !error && realFolder.parent_path() == realApp;
}

// The component's error, when it left one, with its alert.
bool ReportWebManagementError(AppContext& context, IStartupHost& host) {
    const std::string errVal = ReadErrVal(context);
    if (!IsWebManagementError(errVal)) {
        return false;
    }
    if (const std::optional<WebAlert> alert = WebManagementErrorReport(context, errVal)) {
        host.ShowWebManagementAlert(*alert);
    }
    return true;
}

// The web-management entry as the stored switch and the login make it.
void ShowWebManagementState(AppContext& context, IStartupHost& host) {
    context.trayMenu.SetVisible(TrayMenuItem::WebPlugin, true);
    context.trayMenu.SetEnabled(TrayMenuItem::WebPlugin, true);
    if (ReportWebManagementError(context, host)) {
        return;
    }
    const std::string webPlugin = context.transfer.Trf_ReadOutputValue(contract::kWebSection, contract::kWebPlugin);
    const bool loggedIn = !Trim(context.storedUser.CurrentUserName()).empty();
    context.trayMenu.SetChecked(TrayMenuItem::WebPlugin, webPlugin != "0" && loggedIn);
}

// Installs the service through its batch files when it is missing.
void InstallServiceWhenMissing(AppContext& context) {
    context.trace.Info("Checking Background running..1");
    if (context.serviceControl.ServiceState() != kServiceCannotOpen) {
        return;
    }
    context.trace.Error("Service is not installed");
    context.serviceControl.RunServiceBatch(ServiceBatch::Install);
    context.ports.clock.Sleep(1000);
    context.serviceControl.RunServiceBatch(ServiceBatch::Start);
    context.ports.clock.Sleep(1000);
    TraceDated(context, "   [INFORMATION] Service installed");
    if (context.serviceControl.ServiceState() == kServiceCannotOpen) {
        context.trace.Error(context.settings.installationName + " Service installation failed");
    }
}

// The engine leaves the quota message indicator under its own spelling.
void MoveStatusMessageIndicator(AppContext& context) {
    clsTransfer& transfer = context.transfer;
    const std::string indicator =
        transfer.Trf_ReadOutputValue(contract::kBackupStatusSection, contract::kStausMessageIndicaton);
    if (!indicator.empty()) {
        transfer.Trf_WriteUserProfileDefault(contract::kBackupStatusSection, contract::kStatusMessageIndicaton,
                                             indicator);
        transfer.Trf_WriteUserProfileDefault(contract::kBackupStatusSection, contract::kStausMessageIndicaton, "");
    } else {
        transfer.Trf_WriteUserProfileDefault(contract::kBackupStatusSection, contract::kStatusMessageIndicaton, "");
    }
}

// The process list alone cannot part two monitors started at the same moment: each may see the
// other, and both would end (or both stay). Only one of them creates the mutex, so that one stays
// whatever the list shows; one that found the mutex there ends when the list shows another monitor.
bool StaysAsOnlyInstance(AppContext& context, IStartupHost& host) {
    bool createdMutex = false;
    ResumeNext([&] { createdMutex = host.CreateAppMutex(context.names.mutexName); });
    const bool otherRunning = host.OtherInstanceRunning();
    return createdMutex || !otherRunning;
}

// The connection of a known user.
void CheckConnection(AppContext& context, const std::string& userName) {
    SharedValues& values = context.values;
    const std::string connectionKey = values.ConnectionParametersKey();

    ResumeNext([&] {
        const std::string reconnect = context.transfer.Trf_ReadUserProfile(contract::kAutoReconnect);
        context.trace.Info("Username : " + userName);
        TraceDated(context, userName + "  [INFORMATION] ReConnect =" + reconnect);
    });
    ResumeNext([&] {
        const auto status = ParseIntegerOr(
            values.ReadRegistry(RegistryRoot::CurrentUser, connectionKey, contract::kRegStatus).AsText(), 0);
        if (status == 1 || status == 2) {
            context.trace.Info("Connection Parameter = 1/2, so waiting for 20 secs");
            context.ports.clock.Sleep(20000);
        }
    });
    ResumeNext([&] {
        context.trace.Info(
            "Connection Parameters =" +
            values.ReadRegistry(RegistryRoot::CurrentUser, connectionKey, contract::kRegStatus).AsText());
    });
    ResumeNext([&] {
        if (values.ReadUserRegistry(contract::kRegInstalledFirst).empty()) {
            return;
        }
        if (context.transfer.Trf_ReadUserProfile(contract::kAuthenticated) != "1") {
            values.WriteRegistryDword(RegistryRoot::CurrentUser, connectionKey, contract::kRegStatus, 0);
        } else {
            values.WriteUserNameRegistry(contract::kCurrentUser, userName);
        }
    });
}

// ---- The steps of `Main` after the single-instance decision --------------------------------------

// Every start begins with an empty start folder. It is emptied before its first line is written,
// so that the line survives and moves into the user's trace with the others.
void EmptyStartFolder(AppContext& context) {
    const fs::path start = context.folders.StartFolder();
    if (!FolderExists(start)) {
        CreateFolders(start);
    }
    DeleteFileIfExists(TraceFileIn(start));
    RecreateStartFolder(context.folders, context.ports.files);
    context.trace.Info("Started Tray...");
}

void TraceBackgroundCheck(AppContext& context) {
    context.trace.Info("checking if " + context.names.background + " is running");
}

void CreateDefaultFiles(AppContext& context) {
    ResumeNext([&] { context.DefaultFilesForm().Form_Load(); });
    ResumeNext([&] { context.trace.Info("After creating default files..."); });
}

// The name is read here, but the trace keeps to the start folder until the lines written so far
// have moved.
std::string ReadDefaultUser(AppContext& context) {
    std::string userName = context.storedUser.CurrentUserName();
    context.trace.Info("Default user: " + userName);
    return userName;
}

// The user's trace starts afresh with the start folder's lines. Without a user the user folder is
// the start folder itself, whose trace stays.
void MoveStartTraceToUser(AppContext& context, const std::string& userName) {
    const fs::path start = context.folders.StartFolder();
    const fs::path userFolder = context.folders.UserFolder(userName);
    DeleteFileIfExists(userFolder / PathFromUtf8(contract::kTempRecValsFile));
    if (userFolder != start) {
        CreateFolders(userFolder);
        DeleteFileIfExists(TraceFileIn(userFolder));
        if (FileExists(TraceFileIn(start))) {
            CopyFileOverwrite(TraceFileIn(start), TraceFileIn(userFolder));
        }
    }
}

void EnterAppFolder(AppContext& context, IStartupHost& host) {
    context.trace.Info("before Setappdir");
    host.SetCurrentFolder(context.folders.AppFolder());
    context.trace.Info("after setappdir");
}

// An "OpenFileMode" of "2" becomes "0", written back in the kind the engine stored it in.
void ResetOpenFileMode(AppContext& context) {
    SharedValues& values = context.values;
    const std::string key = values.ProductKey();
    const RegistryValue mode = values.ReadRegistry(RegistryRoot::LocalMachine, key, contract::kRegOpenFileMode);
    if (mode.AsText() != "2") {
        return;
    }
    if (mode.kind == RegistryValue::Kind::Dword) {
        values.WriteRegistryDword(RegistryRoot::LocalMachine, key, contract::kRegOpenFileMode, 0);
    } else {
        values.WriteRegistryString(RegistryRoot::LocalMachine, key, contract::kRegOpenFileMode, "0");
    }
}

// `MinimizeToTray`.
void MinimizeToTray(AppContext& context, IStartupHost& host) {
    host.MinimizeAndHide();
    context.trayMenu.SetEnabled(TrayMenuItem::MnuOpen, true);
}

void MarkFirstTimeUser(AppContext& context) {
    context.values.WriteRegistryString(RegistryRoot::CurrentUser, context.values.VendorKey(),
                                       contract::kRegFirstTimeUser, "TRUE");
}

// ---- The steps of `Form_Load` -----------------------------------------------------------------

// The form's icon; product 1 hides the other products' entries and captions its options.
void ApplyProductToForm(AppContext& context, IStartupHost& host) {
    TrayMenuModel& menu = context.trayMenu;
    const ProductSettings& settings = context.settings;
    menu.ApplyLocalisedCaptions(context.texts, settings.productName);
    host.SetFormIcon(FormIconFile(context));
    if (IsBrandProduct(settings)) {
        for (TrayMenuItem item : {TrayMenuItem::MnuQuotaExceeded, TrayMenuItem::GBAdditional, TrayMenuItem::BLLine,
                                  TrayMenuItem::MnuOpenDrive}) {
            menu.Hide(item);
        }
        menu.SetCaption(TrayMenuItem::MnuOptions, settings.caption);
    }
}

// `mnuSession`, the entry whose handler shows the log viewer (the localised text of `MnuViewLog`
// is its own).
void CaptionLogViewer(AppContext& context) {
    const std::string text = ReplaceBrandWord(GetLocaleString(context.texts, 1575), context.settings.productName);
    const std::string& caption = context.settings.caption;
    context.trayMenu.SetCaption(TrayMenuItem::mnuSession,
                                text.empty() ? caption + " Log Viewer" : text + " " + caption);
}

// The password that goes with it is not kept in memory: web management, the only feature that
// needs it, reads it afresh when it does.
void ReadInteractiveUser(AppContext& context) {
    context.interactiveUser = context.transfer.Trf_ReadUserNameProfile(contract::kInteractive);
}

void AttachContextMenuWhenPresent(AppContext& context) {
    if (FileExists(context.folders.AppFolder() / PathFromUtf8(kContextMenuControlFile))) {
        AttachContextMenuControl(context);
    }
}

// The schedule files are found from the current user at each use, never remembered at load: a
// path kept from load time would lead into the previous user's folder after a login.
void ApplyScheduleDisable(AppContext& context) {
    const std::string disabled = context.transfer.Trf_ReadUserProfile(contract::kScheduleDisable);
    if (disabled.empty()) {
        context.transfer.Trf_WriteUserProfile(contract::kScheduleDisable, "FALSE");
        context.trayMenu.SetChecked(TrayMenuItem::MnuDisableAutobkup, false);
    } else if (disabled == "FALSE") {
        context.trayMenu.SetChecked(TrayMenuItem::MnuDisableAutobkup, false);
    } else if (disabled == "TRUE") {
        context.trayMenu.SetChecked(TrayMenuItem::MnuDisableAutobkup, true);
    }
}

void StartBackgroundWhenAsked(AppContext& context) {
    if (context.values.ReadUserNameRegistry(contract::kTray) == contract::kTrayStartBackground) {
        context.serviceControl.LaunchBackground();
    }
}

// From Vista on a normal user may not start the service: the watcher looks after it instead.
void StartServiceBeforeVista(AppContext& context) {
    if (!IsVistaFamily(context.ports.system.Version())) {
        context.serviceControl.ServiceStartIfNeeded();
    }
}

}  // namespace

std::optional<ProductSettings> ReadStartupSettings(const fs::path& appFolder) {
    try {
        std::optional<ProductSettings> settings = ReadConfiguration(appFolder);
        if (!settings) {
            return std::nullopt;
        }
        if (const std::optional<BrandFile> brand = ReadBrandFile(appFolder)) {
            ApplyBrandFile(*settings, *brand);
        }
        ApplyEmptyNameRule(*settings);
        return settings;
    } catch (...) {
        return std::nullopt;
    }
}

StartupResult Main(const PlatformPorts& ports, IStartupHost& host, const fs::path& appFolder) {
    StartupResult result;
    // The brand file and the empty-name rule complete the settings before the names and folders
    // are derived from them.
    std::optional<ProductSettings> settings = ReadStartupSettings(appFolder);
    if (!settings) {
        result.outcome = StartupOutcome::NoConfiguration;
        return result;
    }
    // The context opens the language file and starts the service start counter at 0 and the
    // mail-server job keywords.
    result.context = std::make_unique<AppContext>(ports, appFolder, std::move(*settings));
    result.outcome = RunMainSteps(*result.context, host);
    return result;
}

bool RecreateStartFolder(const Folders& folders, IFileSystem& files) {
    try {
        const fs::path start = folders.StartFolder();
        if (IsDeletableStartFolder(start, folders.AppFolder(), folders.InstallationName())) {
            files.DeleteTree(start);
        }
        return CreateFolders(start);
    } catch (...) {
        return false;
    }
}

StartupOutcome RunMainSteps(AppContext& context, IStartupHost& host) {
    // The single-instance decision comes before anything is touched: the steps after it would
    // empty the running monitor's start folder and replace its user's trace.
    if (!StaysAsOnlyInstance(context, host)) {
        return StartupOutcome::SecondInstance;
    }
    ResumeNext([&] { EmptyStartFolder(context); });
    ResumeNext([&] { TraceBackgroundCheck(context); });
    CreateDefaultFiles(context);
    std::string userName;
    ResumeNext([&] { userName = ReadDefaultUser(context); });
    ResumeNext([&] { MoveStartTraceToUser(context, userName); });
    context.traceUser.MarkKnown();
    ResumeNext([&] { context.trace.Info("Default user" + userName); });
    ResumeNext([&] { EnterAppFolder(context, host); });
    // The mutex itself was created with the single-instance decision.
    ResumeNext([&] { context.trace.Info("after create appmutex"); });
    ResumeNext([&] { ResetOpenFileMode(context); });
    context.serviceRun.elevatedStartDone = false;
    ResumeNext([&] { context.largeFonts = IsLargeFonts(host.ScreenDpiX()); });

    bool loaded = false;
    ResumeNext([&] { loaded = host.LoadMainForm(context); });
    if (!loaded) {
        return StartupOutcome::NoMainForm;
    }
    Form_Load(context, host);
    ResumeNext([&] { MinimizeToTray(context, host); });

    ResumeNext([&] {
        userName = context.storedUser.CurrentUserName();
        context.ports.clock.Sleep(1000);
    });
    if (!userName.empty()) {
        CheckConnection(context, userName);
    }
    ResumeNext([&] { MarkFirstTimeUser(context); });
    return StartupOutcome::Running;
}

void Form_Load(AppContext& context, IStartupHost& host) {
    ResumeNext([&] { ApplyProductToForm(context, host); });
    ResumeNext([&] { CaptionLogViewer(context); });
    ResumeNext([&] { ReadInteractiveUser(context); });
    ResumeNext([&] { ShowWebManagementState(context, host); });
    ResumeNext([&] { AttachContextMenuWhenPresent(context); });
    ResumeNext([&] { ConvertUncEntries(context); });
    ResumeNext([&] { host.AddTrayIcon(); });
    ResumeNext([&] { ApplyScheduleDisable(context); });
    ResumeNext([&] { host.StartTimer(kStatusTimerId, kStatusTimerPeriodMs); });
    ResumeNext([&] { InstallServiceWhenMissing(context); });
    ResumeNext([&] { MoveStatusMessageIndicator(context); });
    ResumeNext([&] { StartBackgroundWhenAsked(context); });
    ResumeNext([&] { StartServiceBeforeVista(context); });
    ResumeNext([&] { host.StartTimer(kWatcherTimerId, kWatcherTimerPeriodMs); });
    ResumeNext([&] { ReportWebManagementError(context, host); });
}

fs::path FormIconFile(const AppContext& context) {
    return BrandedPicture(context.settings, context.folders.ImagesFolder(), kNormalIconFile);
}

bool IsLargeFonts(int dpiX) {
    return dpiX > 0 && dpiX != kNormalScreenDpi;
}

std::string ConvertUncEntry(std::string_view plainEntry) {
    std::vector<std::string> fields = Split(plainEntry, kUncFieldSeparator);
    // An entry stored with its closing ";" has an empty piece after it, which is no field.
    if (fields.size() > kUncFieldCount && fields.back().empty()) {
        fields.pop_back();
    }
    if (fields.size() < kUncFieldCount) {
        fields.resize(kUncFieldCount);
    }
    std::string converted;
    for (const std::string& field : fields) {
        converted += Obscure(field);
        converted += kUncFieldSeparator;
    }
    return converted;
}

void ConvertUncEntries(AppContext& context) {
    SharedValues& values = context.values;
    if (values.ReadUserNameRegistry(contract::kUncEncrypted) == "1") {
        return;
    }
    const long long count =
        std::min(ParseIntegerOr(values.ReadUserNameRegistry(contract::kUncCount), 0), kMaxUncEntries);
    for (long long number = 1; number <= count; ++number) {
        ResumeNext([&] {
            const std::string key = std::string(contract::kUncPrefix) + std::to_string(number);
            // The store already cuts the value at its first NUL.
            const std::string entry = Trim(values.ReadUserNameRegistry(key));
            // A missing entry stays missing rather than becoming six empty fields.
            if (!entry.empty()) {
                values.WriteUserNameRegistry(key, ConvertUncEntry(entry));
            }
        });
    }
    values.WriteUserNameRegistry(contract::kUncEncrypted, "1");
}

void AttachContextMenuControl(AppContext& /*context*/) {
    // Not built yet: what attaching the tray menu to the context-menu control changes is decided
    // with the tray commands. Without it the tray menu works as it does without the control.
}

}  // namespace ovp
