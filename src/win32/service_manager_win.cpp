#include "win32/service_manager_win.h"

#include <windows.h>

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
        return kServiceCannotOpen;
    }
    const unique_schandle service(
        ::OpenServiceW(manager.get(), Wide(serviceName).c_str(), full ? SERVICE_ALL_ACCESS : SERVICE_QUERY_STATUS));
    if (!service) {
        return kServiceCannotOpen;
    }
    SERVICE_STATUS status{};
    if (!::QueryServiceStatus(service.get(), &status)) {
        return kServiceCannotOpen;
    }
    const DWORD state = status.dwCurrentState;
    return state >= SERVICE_STOPPED && state <= SERVICE_PAUSED ? static_cast<int>(state) : kServiceCannotOpen;
}

}  // namespace ovp::win
