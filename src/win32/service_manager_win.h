#pragma once
// The service-manager port on the Win32 service control manager.

#include "contract/trace_sink.h"
#include "platform/service_manager.h"

namespace ovp::win {

class Win32ServiceManager final : public IServiceManager {
  public:
    // trace, when given, receives a line for every call that Windows fails, other than a service
    // that is not installed (which the caller reports itself).
    explicit Win32ServiceManager(ITraceSink* trace = nullptr) : trace_(trace) {}

    // Read access is connect + query status; full access is all access to both manager and service.
    int QueryState(std::string_view serviceName, ServiceAccess access) override;

  private:
    int Failed(const char* api, std::string_view serviceName);

    ITraceSink* trace_;
};

}  // namespace ovp::win
