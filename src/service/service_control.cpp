#include "service/service_control.h"

#include <string>

#include "base/files.h"
#include "base/text.h"
#include "contract/configuration.h"
#include "contract/engine_contract.h"
#include "contract/os_info.h"
#include "service/process_check.h"

namespace ovp {

namespace {

// What a state that is not "running" makes the monitor say and do. The texts are the trace's
// own, the service manager's "pasued" included; the engine's support reads them as they stand.
struct StartReason {
    std::string_view message;
    bool stopFirst;  // the service is in the way of a start: stop it and give it time
};

const StartReason* ReasonToStart(int state) {
    static constexpr StartReason kStopped{" Service is stopped.So starting the service.", false};
    static constexpr StartReason kStartPending{" Service is start pending.So starting the service.", false};
    static constexpr StartReason kStopPending{" Service is stop pending.So starting the service.", true};
    static constexpr StartReason kContinuePending{" Service continue pending.So starting the service.", false};
    static constexpr StartReason kPausePending{" Service is pause pending.So starting the service.", false};
    static constexpr StartReason kPaused{" Service is pasued.So starting the service.", true};
    switch (state) {
        case kServiceStopped:
            return &kStopped;
        case kServiceStartPending:
            return &kStartPending;
        case kServiceStopPending:
            return &kStopPending;
        case kServiceContinuePending:
            return &kContinuePending;
        case kServicePausePending:
            return &kPausePending;
        case kServicePaused:
            return &kPaused;
        default:  // running, or not installed (start-up installs it)
            return nullptr;
    }
}

// A stored flag or value: trimmed, and the given default when empty.
std::string StoredOr(std::string value, std::string_view fallback) {
    value = Trim(value);
    return value.empty() ? std::string(fallback) : value;
}

}  // namespace

int ServiceControl::ServiceState() {
    const ServiceAccess access = IsVistaFamily(ports_.system.Version()) ? ServiceAccess::ReadOnly : ServiceAccess::Full;
    const int state = ports_.services.QueryState(names_.serviceName, access);
    if (state == kServiceCannotOpen && access == ServiceAccess::Full) {
        // A limited user of an older system is refused full access to a service that is installed
        // all the same; taking that for "not installed" would reinstall it on every check.
        return ports_.services.QueryState(names_.serviceName, ServiceAccess::ReadOnly);
    }
    return state;
}

void ServiceControl::ServiceStartIfNeeded() {
    const StartReason* reason = ReasonToStart(ServiceState());
    if (reason == nullptr) {
        return;
    }
    ports_.trace.Info(names_.productWord + std::string(reason->message));
    if (reason->stopFirst) {
        RunServiceBatch(ServiceBatch::Stop);
        ports_.clock.Sleep(kServiceStopToStartWaitMs);
    }
    StartService();
}

void ServiceControl::StartService() {
    RunServiceBatch(ServiceBatch::Start);
    // Where a normal user cannot start a service, the batch file alone may not be enough; the
    // drive launcher asks for administrator rights, but the user is asked only once per run.
    if (IsVistaFamily(ports_.system.Version()) && !runState_.elevatedStartDone) {
        runState_.elevatedStartDone = true;
        if (!names_.driveLauncher.empty()) {
            const ShellResult result = ElevatedServiceStart();
            ports_.trace.Info("Launch Handle : " + std::to_string(result.instance));
            ports_.trace.Info("Error 1 : " + std::to_string(result.errorNumber) + "  " + result.errorText);
        }
    }
    ++runState_.startCount;
}

std::filesystem::path ServiceControl::ServiceBatchFile(ServiceBatch batch) const {
    return folders_.AppFolder() / PathFromUtf8(ServiceBatchFileName(batch, names_));
}

void ServiceControl::RunServiceBatch(ServiceBatch batch) {
    ShellRequest request;
    request.verb = "open";
    request.file = ServiceBatchFile(batch);
    request.show = ShowMode::Hidden;
    ports_.shell.Execute(request);
}

ShellResult ServiceControl::ElevatedServiceStart() {
    // Without a name the request would open the application folder itself, with elevation.
    if (names_.driveLauncher.empty()) {
        return {};
    }
    ShellRequest request;
    request.verb = "runas";
    request.file = folders_.AppFolder() / PathFromUtf8(names_.driveLauncher);
    request.arguments = std::string(kElevatedStartArgument);
    request.workingFolder = folders_.AppFolder();
    request.show = ShowMode::Normal;
    return ports_.shell.Execute(request);
}

void ServiceControl::LaunchBackground() {
    const std::string tray = Trim(values_.ReadUserNameRegistry(contract::kTray));
    if ((!tray.empty() && tray != "0") || names_.background.empty() ||
        IsProcessRunning(ports_.processes, names_.background)) {
        return;
    }
    if (!IsVistaFamily(ports_.system.Version()) && runState_.startCount <= 1) {
        ServiceStartIfNeeded();
    }

    const std::string standard = StoredOr(values_.ReadUserNameOrvessa(contract::kStandard), "0");
    const std::string started = StoredOr(values_.ReadUserNameOrvessa(contract::kStarted), "0");
    ports_.trace.Info("strStdrd2 = " + standard);
    ports_.trace.Info("strStarted2 = " + started);
    // The engine reports that it was started, and not by a standard start of ours: a second
    // engine would only compete with it.
    if (standard == "0" && started == "1") {
        return;
    }
    values_.WriteUserNameOrvessa(contract::kStandard, "1");
    ShellRequest request;
    request.verb = "open";
    request.file = folders_.AppFolder() / PathFromUtf8(names_.background);
    request.show = ShowMode::Maximized;
    ports_.shell.Execute(request);
    ports_.trace.Info(names_.background + " is launched");
}

}  // namespace ovp
