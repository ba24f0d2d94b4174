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

bool IsWebManagementError(std::string_view errVal) {
    return errVal == "-1" || errVal == "-2" || errVal == "-3";
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

// Form_Load step 4: the web-management entry as the stored switch and the login make it.
void ShowWebManagementState(AppContext& context) {
    context.trayMenu.SetVisible(TrayMenuItem::WebPlugin, true);
    context.trayMenu.SetEnabled(TrayMenuItem::WebPlugin, true);
    const std::string errVal = ReadErrVal(context);
    if (IsWebManagementError(errVal)) {
        WebManagementErrorReport(context, errVal);
        return;
    }
    const std::string webPlugin = context.transfer.Trf_ReadOutputValue(contract::kWebSection, contract::kWebPlugin);
    const bool loggedIn = !Trim(context.storedUser.CurrentUserName()).empty();
    context.trayMenu.SetChecked(TrayMenuItem::WebPlugin, webPlugin != "0" && loggedIn);
}

// Form_Load step 11: installs the service through its batch files when it is missing.
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

// Form_Load step 12: the engine leaves the quota message indicator under its own spelling.
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

// Main step 21: the connection of a known user.
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
    // Step 1, with steps 4 and 5 that complete the settings before the names and folders are
    // derived from them.
    std::optional<ProductSettings> settings = ReadStartupSettings(appFolder);
    if (!settings) {
        result.outcome = StartupOutcome::NoConfiguration;
        return result;
    }
    // Steps 2 and 3: the context opens the language file and starts the service start counter at
    // 0 and the mail-server job keywords.
    result.context = std::make_unique<AppContext>(ports, appFolder, std::move(*settings));
    result.outcome = RunMainSteps(*result.context, host);
    return result;
}

bool RecreateStartFolder(const Folders& folders) {
    try {
        const fs::path start = folders.StartFolder();
        if (IsDeletableStartFolder(start, folders.AppFolder(), folders.InstallationName())) {
            std::error_code error;
            fs::remove_all(start, error);
        }
        return CreateFolders(start);
    } catch (...) {
        return false;
    }
}

StartupOutcome RunMainSteps(AppContext& context, IStartupHost& host) {
    Trace& trace = context.trace;
    const Folders& folders = context.folders;
    IClock& clock = context.ports.clock;

    // The single-instance test of step 14, made before anything is touched: the steps before it
    // would empty the running monitor's start folder and replace its user's trace.
    if (host.OtherInstanceRunning()) {
        return StartupOutcome::SecondInstance;
    }

    // Step 6. The start folder is emptied before its first line is written, so that the line
    // survives and moves into the user's trace with the others (step 10).
    ResumeNext([&] {
        const fs::path start = folders.StartFolder();
        if (!FolderExists(start)) {
            CreateFolders(start);
        }
        DeleteFileIfExists(TraceFileIn(start));
        RecreateStartFolder(folders);
        trace.Info("Started Tray...");
    });

    // Step 7.
    ResumeNext([&] { trace.Info("checking if " + context.names.background + " is running"); });

    // Step 8.
    ResumeNext([&] { context.DefaultFilesForm().Form_Load(); });
    ResumeNext([&] { trace.Info("After creating default files..."); });

    // Step 9: the name is read here, but the trace keeps to the start folder until the lines
    // written so far have moved.
    std::string userName;
    ResumeNext([&] {
        userName = context.storedUser.CurrentUserName();
        trace.Info("Default user: " + userName);
    });

    // Step 10. Without a user the user folder is the start folder itself, whose trace stays.
    ResumeNext([&] {
        const fs::path start = folders.StartFolder();
        const fs::path userFolder = folders.UserFolder(userName);
        DeleteFileIfExists(userFolder / PathFromUtf8(contract::kTempRecValsFile));
        if (userFolder != start) {
            CreateFolders(userFolder);
            DeleteFileIfExists(TraceFileIn(userFolder));
            if (FileExists(TraceFileIn(start))) {
                CopyFileOverwrite(TraceFileIn(start), TraceFileIn(userFolder));
            }
        }
    });
    context.traceUser.MarkKnown();

    // Step 11.
    ResumeNext([&] { trace.Info("Default user" + userName); });

    // Step 12.
    ResumeNext([&] {
        trace.Info("before Setappdir");
        host.SetCurrentFolder(folders.AppFolder());
        trace.Info("after setappdir");
    });

    // Step 13.
    ResumeNext([&] {
        host.CreateAppMutex(context.names.mutexName);
        trace.Info("after create appmutex");
    });

    // Step 14 was made first (above).

    // Step 15.
    ResumeNext([&] {
        const std::string key = context.values.ProductKey();
        const RegistryValue mode =
            context.values.ReadRegistry(RegistryRoot::LocalMachine, key, contract::kRegOpenFileMode);
        if (mode.AsText() != "2") {
            return;
        }
        // Written back in the kind the engine stored it in.
        if (mode.kind == RegistryValue::Kind::Dword) {
            context.values.WriteRegistryDword(RegistryRoot::LocalMachine, key, contract::kRegOpenFileMode, 0);
        } else {
            context.values.WriteRegistryString(RegistryRoot::LocalMachine, key, contract::kRegOpenFileMode, "0");
        }
    });

    // Step 16.
    context.serviceRun.elevatedStartDone = false;

    // Step 17.
    ResumeNext([&] { context.largeFonts = IsLargeFonts(host.ScreenDpiX()); });

    // Step 18.
    bool loaded = false;
    ResumeNext([&] { loaded = host.LoadMainForm(context); });
    if (!loaded) {
        return StartupOutcome::NoMainForm;
    }
    Form_Load(context, host);

    // Step 19: `MinimizeToTray`.
    ResumeNext([&] {
        host.MinimizeAndHide();
        context.trayMenu.SetEnabled(TrayMenuItem::MnuOpen, true);
    });

    // Step 20.
    ResumeNext([&] {
        userName = context.storedUser.CurrentUserName();
        clock.Sleep(1000);
    });

    // Step 21.
    if (!userName.empty()) {
        CheckConnection(context, userName);
    }

    // Step 22.
    ResumeNext([&] {
        context.values.WriteRegistryString(RegistryRoot::CurrentUser, context.values.VendorKey(),
                                           contract::kRegFirstTimeUser, "TRUE");
    });
    return StartupOutcome::Running;
}

void Form_Load(AppContext& context, IStartupHost& host) {
    TrayMenuModel& menu = context.trayMenu;
    const ProductSettings& settings = context.settings;

    // Step 1.
    ResumeNext([&] {
        menu.ApplyLocalisedCaptions(context.texts, settings.productName);
        host.SetFormIcon(FormIconFile(context));
        if (settings.productNumber == 1) {
            for (TrayMenuItem item : {TrayMenuItem::MnuQuotaExceeded, TrayMenuItem::GBAdditional, TrayMenuItem::BLLine,
                                      TrayMenuItem::MnuOpenDrive}) {
                menu.Hide(item);
            }
            menu.SetCaption(TrayMenuItem::MnuOptions, settings.caption);
        }
    });

    // Step 2: `mnuSession`, the entry whose handler shows the log viewer (the localised text of
    // `MnuViewLog` is its own).
    ResumeNext([&] {
        const std::string text = GetLocaleString(context.texts, 1575);
        menu.SetCaption(TrayMenuItem::mnuSession,
                        text.empty() ? settings.caption + " Log Viewer" : text + " " + settings.caption);
    });

    // Step 3. The password that goes with it is not kept in memory: web management, the only
    // feature that needs it, reads it afresh when it does.
    ResumeNext([&] { context.interactiveUser = context.transfer.Trf_ReadUserNameProfile(contract::kInteractive); });

    // Step 4.
    ResumeNext([&] { ShowWebManagementState(context); });

    // Step 5.
    ResumeNext([&] {
        if (FileExists(context.folders.AppFolder() / PathFromUtf8(kContextMenuControlFile))) {
            AttachContextMenuControl(context);
        }
    });

    // Step 6.
    ResumeNext([&] { ConvertUncEntries(context); });

    // Step 7.
    ResumeNext([&] { host.AddTrayIcon(); });

    // Step 8: the schedule files are found from the current user at each use, never remembered
    // here: a path kept from load time would lead into the previous user's folder after a login.

    // Step 9.
    ResumeNext([&] {
        const std::string disabled = context.transfer.Trf_ReadUserProfile(contract::kScheduleDisable);
        if (disabled.empty()) {
            context.transfer.Trf_WriteUserProfile(contract::kScheduleDisable, "FALSE");
            menu.SetChecked(TrayMenuItem::MnuDisableAutobkup, false);
        } else if (disabled == "FALSE") {
            menu.SetChecked(TrayMenuItem::MnuDisableAutobkup, false);
        } else if (disabled == "TRUE") {
            menu.SetChecked(TrayMenuItem::MnuDisableAutobkup, true);
        }
    });

    // Step 10.
    ResumeNext([&] { host.StartTimer(kStatusTimerId, kStatusTimerPeriodMs); });

    // Step 11.
    ResumeNext([&] { InstallServiceWhenMissing(context); });

    // Step 12.
    ResumeNext([&] { MoveStatusMessageIndicator(context); });

    // Step 13.
    ResumeNext([&] {
        if (context.values.ReadUserNameRegistry(contract::kTray) == contract::kTrayStartBackground) {
            context.serviceControl.LaunchBackground();
        }
    });

    // Step 14.
    ResumeNext([&] {
        if (!IsVistaFamily(context.ports.system.Version())) {
            context.serviceControl.ServiceStartIfNeeded();
        }
    });

    // Step 15.
    ResumeNext([&] { host.StartTimer(kWatcherTimerId, kWatcherTimerPeriodMs); });

    // Step 16.
    ResumeNext([&] {
        const std::string errVal = ReadErrVal(context);
        if (IsWebManagementError(errVal)) {
            WebManagementErrorReport(context, errVal);
        }
    });
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

void WebManagementErrorReport(AppContext& /*context*/, std::string_view /*errVal*/) {
    // Not built yet: the web-management error report (switch off, alert window, logout for "-1"
    // and "-2") arrives with the web-management feature. Until then an error value is left as the
    // component wrote it, so the report still runs once the feature is there.
}

void AttachContextMenuControl(AppContext& /*context*/) {
    // Not built yet: what attaching the tray menu to the context-menu control changes is decided
    // with the tray commands. Without it the tray menu works as it does without the control.
}

}  // namespace ovp
