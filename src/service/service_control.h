#pragma once
// Keeping the backup service and the background engine running. Both belong to the engine: the
// monitor only asks the service manager for the service's state, runs the install, start and stop
// batch files the engine ships, and starts the background engine when the user's settings ask
// for it.

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "contract/folders.h"
#include "contract/product_config.h"
#include "contract/trace_sink.h"
#include "platform/clock.h"
#include "platform/processes.h"
#include "platform/service_manager.h"
#include "platform/shell.h"
#include "platform/system_info.h"
#include "settings/shared_values.h"

namespace ovp {

// Between running the stop batch and the start batch the service gets this long to stop. The
// wait blocks the interface thread on purpose: nothing else should touch the service meanwhile.
inline constexpr std::uint32_t kServiceStopToStartWaitMs = 10000;
// The drive launcher's argument that asks it to start the service with administrator rights.
inline constexpr std::string_view kElevatedStartArgument = "stratservice";

// What one run of the monitor remembers about its service starts; the application context owns
// it, so it begins afresh with every start of the monitor.
struct ServiceRunState {
    // Start attempts made by ServiceStartIfNeeded.
    int startCount = 0;
    // The elevated start has been run: the user is asked for administrator rights once per run.
    bool elevatedStartDone = false;
};

struct ServiceControlPorts {
    IServiceManager& services;
    IProcesses& processes;
    IShell& shell;
    IClock& clock;
    ISystemInfo& system;
    ITraceSink& trace;
};

class ServiceControl {
  public:
    ServiceControl(ServiceControlPorts ports,
                   const Folders& folders,
                   const ExecutableNames& names,
                   SharedValues& values,
                   ServiceRunState& runState)
        : ports_(ports), folders_(folders), names_(names), values_(values), runState_(runState) {}

    // The service's state code (kServiceCannotOpen .. kServicePaused). On the Vista family a
    // normal user may only read the service; on older systems it is opened with full access.
    int ServiceState();

    // Starts the service unless it runs (or cannot be opened: installing it is start-up's task),
    // tracing why; a stop-pending or paused service is stopped first.
    void ServiceStartIfNeeded();

    // Starts the background engine when the settings ask for it and it is not running yet.
    void LaunchBackground();

    // Application folder + "Install"/"Start"/"Stop" + product word + "Service.bat".
    std::filesystem::path ServiceBatchFile(ServiceBatch batch) const;
    // Opens the batch file hidden, without waiting for it.
    void RunServiceBatch(ServiceBatch batch);

    // Starts the drive launcher with administrator rights so that it starts the service; the
    // shell's answer. A product without a drive launcher starts nothing and gets an empty answer.
    ShellResult ElevatedServiceStart();

  private:
    void StartService();

    ServiceControlPorts ports_;
    const Folders& folders_;
    const ExecutableNames& names_;
    SharedValues& values_;
    ServiceRunState& runState_;
};

}  // namespace ovp
