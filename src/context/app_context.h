#pragma once
// The one application context: every process-wide value of the monitor (product settings, names,
// folders, start-up flags and counters) and the services built on the ports. wWinMain owns it and
// passes it down; nothing else in the program keeps state of its own between calls.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "context/tray_menu_model.h"
#include "context/tray_status_state.h"
#include "contract/engine_contract.h"
#include "contract/folders.h"
#include "contract/locale_file.h"
#include "contract/product_config.h"
#include "contract/trace.h"
#include "defaults/default_files.h"
#include "platform/child_process.h"
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/companions.h"
#include "platform/file_system.h"
#include "platform/http.h"
#include "platform/mail_paths.h"
#include "platform/power.h"
#include "platform/processes.h"
#include "platform/profile_store.h"
#include "platform/random.h"
#include "platform/registry.h"
#include "platform/secure_random.h"
#include "platform/service_manager.h"
#include "platform/shell.h"
#include "platform/shell_folders.h"
#include "platform/system_info.h"
#include "platform/windows.h"
#include "scheduler/job_control.h"
#include "service/service_control.h"
#include "settings/current_user.h"
#include "settings/shared_values.h"
#include "settings/transfer.h"

namespace ovp {

// The adapters of every port; they outlive the context.
struct PlatformPorts {
    IRegistry& registry;
    IProfileStore& profiles;
    IClock& clock;
    ISystemInfo& system;
    IProcesses& processes;
    IServiceManager& services;
    IShell& shell;
    ICodePage& codePage;
    IRandom& random;
    IMailPaths& mailPaths;
    IShellFolders& shellFolders;
    IPower& power;
    IWindows& windows;
    IFileSystem& files;
    IProcessLauncher& launcher;
    ICompanionLibraries& companions;
    ISecureRandom& secureRandom;
    IHttp& http;
    // Where the adapters trace the failures Windows reports; the context points it at its own
    // trace for as long as it lives.
    TraceRelay* adapterTrace = nullptr;
};

// The user as the trace sees it. Start-up reads the current user only at its ninth step; until
// then the trace must go to the start folder, from where start-up moves it into the user's
// trace. Afterwards the stored name is read afresh for every line, so a later login or logout
// moves the trace with it.
class TraceUserSource final : public IUserNameSource {
  public:
    explicit TraceUserSource(IUserNameSource& stored) : stored_(stored) {}
    std::string CurrentUserName() override { return known_ ? stored_.CurrentUserName() : std::string(); }
    void MarkKnown() { known_ = true; }
    bool IsKnown() const { return known_; }

  private:
    IUserNameSource& stored_;
    bool known_ = false;
};

// The service trace ("SerTraceFile.txt" of `clsOptions`) as a trace sink, for the default-file
// creation, which writes there.
class ServiceTraceSink final : public ITraceSink {
  public:
    ServiceTraceSink(clsOptions& options, IClock& clock) : options_(options), clock_(clock) {}
    void WriteTrace(std::string_view text) override { options_.WriteTrace(text); }
    void Info(std::string_view message) override { options_.WriteTrace(TraceLine(clock_, kInformationTag, message)); }
    void Error(std::string_view message) override { options_.WriteTrace(TraceLine(clock_, kErrorTag, message)); }

  private:
    clsOptions& options_;
    IClock& clock_;
};

class AppContext {
  public:
    // settings: the product settings as start-up finally has them (brand file and empty-name rule
    // applied), so that the names and folders follow them.
    AppContext(const PlatformPorts& platform, std::filesystem::path appFolder, ProductSettings productSettings);

    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;
    ~AppContext();

    // The hidden form that creates a new user's default files, loaded and unloaded per use.
    ScheduleCreateFiles DefaultFilesForm();

    PlatformPorts ports;
    const ProductSettings settings;
    const ExecutableNames names;
    const Folders folders;
    LocaleFile texts;

    CurrentUser storedUser;
    TraceUserSource traceUser;
    Trace trace;
    clsOptions options;
    ServiceTraceSink serviceTrace;
    SharedValues values;
    clsTransfer transfer;

    ServiceRunState serviceRun;
    ServiceControl serviceControl;
    ScheduledJobMemory jobMemory;
    TrayMenuModel trayMenu;

    // ---- Values of start-up ----
    // The mail-server job keywords.
    std::string exchangeJobKeyword{contract::kJobKindExchange};
    std::string exchangeBrickJobKeyword{contract::kJobKindExchangeBrick};
    // The screen is not at 96 dots per inch.
    bool largeFonts = false;
    // "Interactive" of UserName.ini as the main form read it at load.
    std::string interactiveUser;

    // ---- The missed-backup watcher ----
    // Advances by 2 per tick on the Vista family; the service is looked at each time it reaches 10.
    int serviceRetryCounter = 0;
    // The installed version as the monitor last knew it: read when the watcher starts, refreshed
    // by each version check. The daily check notes an update installed behind the monitor's back.
    std::string knownVersion;

    // ---- The tray status monitor ----
    TrayStatusState trayStatus;

    // ---- The tray menu's commands ----
    // A command that waits or asks is running. Window events run meanwhile, so another click,
    // timer or Exit can arrive in the middle of it: such commands are ignored then, and Exit is
    // carried out when the running one has ended, so that nothing is left half-written.
    bool commandRunning = false;
    bool exitRequested = false;
    // The running-job test's answer at the previous tick: a scheduled job that ends releases its
    // pause of continuous backup.
    std::int16_t lastScheduledJobAnswer = 0;
};

}  // namespace ovp
