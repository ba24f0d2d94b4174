#include "win32/service_manager_win.h"

#include <windows.h>

#include "win32/error_text_win.h"
#include "win32/text_win.h"
#include "win32/unique_resource.h"

namespace ovp::win {

int Win32ServiceManager::QueryState(std::string_view serviceName, ServiceAccess access) {
    if (serviceName.empty() || serviceName.find('\0') != std::string_view::npos) {
        return kServiceCannotOpen;
    }
    const bool full = access == ServiceAccess::Full;
    const unique_schandle manager(
        ::OpenSCManagerW(nullptr, SERVICES_ACTIVE_DATABASEW, SC_MANAGER_CONNECT | (full ? SC_MANAGER_ALL_ACCESS : 0)));
    if (!manager) {
        return Failed("OpenSCManagerW", serviceName);
    }
    const unique_schandle service(
        ::OpenServiceW(manager.get(), Wide(serviceName).c_str(), full ? SERVICE_ALL_ACCESS : SERVICE_QUERY_STATUS));
    if (!service) {
        return Failed("OpenServiceW", serviceName);
    }
    SERVICE_STATUS status{};
    if (!::QueryServiceStatus(service.get(), &status)) {
        return Failed("QueryServiceStatus", serviceName);
    }
    const DWORD state = status.dwCurrentState;
    return state >= SERVICE_STOPPED && state <= SERVICE_PAUSED ? static_cast<int>(state) : kServiceCannotOpen;
}

int Win32ServiceManager::Failed(const char* api, std::string_view serviceName) {
    const DWORD error = ::GetLastError();
    if (trace_ != nullptr && error != ERROR_SERVICE_DOES_NOT_EXIST) {
        trace_->Error(ApiFailureText(api, error, "service " + std::string(serviceName)));
    }
    return kServiceCannotOpen;
}

}  // namespace ovp::win
