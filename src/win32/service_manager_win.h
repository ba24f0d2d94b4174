#pragma once
// The service-manager port on the Win32 service control manager.

#include "platform/service_manager.h"

namespace ovp::win {

class Win32ServiceManager final : public IServiceManager {
  public:
    // Read access is connect + query status; full access is all access to both manager and service.
    int QueryState(std::string_view serviceName, ServiceAccess access) override;
};

}  // namespace ovp::win
