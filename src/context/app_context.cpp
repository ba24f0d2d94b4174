#include "context/app_context.h"

#include "contract/configuration.h"

namespace ovp {

AppContext::AppContext(const PlatformPorts& platform, std::filesystem::path appFolder, ProductSettings productSettings)
    : ports(platform),
      settings(std::move(productSettings)),
      names(BuildExecutableNames(settings)),
      folders(std::move(appFolder), settings.installationName),
      texts(folders.AppFolder(), settings.language),
      storedUser(ports.profiles, folders),
      traceUser(storedUser),
      trace(folders, traceUser, ports.clock),
      options(folders, storedUser),
      serviceTrace(options, ports.clock),
      values(ports.registry, ports.profiles, folders, storedUser, trace),
      transfer(ports.profiles, folders, settings.productName, storedUser, trace),
      serviceControl(
          ServiceControlPorts{ports.services, ports.processes, ports.shell, ports.clock, ports.system, trace},
          folders,
          names,
          values,
          serviceRun) {
    if (ports.adapterTrace != nullptr) {
        ports.adapterTrace->SetTarget(&trace);
    }
}

AppContext::~AppContext() {
    if (ports.adapterTrace != nullptr) {
        ports.adapterTrace->SetTarget(nullptr);
    }
}

ScheduleCreateFiles AppContext::DefaultFilesForm() {
    return ScheduleCreateFiles(
        folders, DefaultFilesPorts{ports.profiles, ports.codePage, ports.clock, ports.random, ports.system,
                                   ports.mailPaths, ports.shellFolders, serviceTrace});
}

}  // namespace ovp
