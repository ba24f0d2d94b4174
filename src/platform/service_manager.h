#pragma once
// Port: the service control manager, reduced to the one question the monitor asks of it.

#include <string_view>

namespace ovp {

// The operating system's service states, unchanged, and 0 for a service that cannot be opened
// (the monitor takes that as "not installed").
inline constexpr int kServiceCannotOpen = 0;
inline constexpr int kServiceStopped = 1;
inline constexpr int kServiceStartPending = 2;
inline constexpr int kServiceStopPending = 3;
inline constexpr int kServiceRunning = 4;
inline constexpr int kServiceContinuePending = 5;
inline constexpr int kServicePausePending = 6;
inline constexpr int kServicePaused = 7;

// How the manager and the service are opened: read access only, or full access.
enum class ServiceAccess { ReadOnly, Full };

class IServiceManager {
  public:
    virtual ~IServiceManager() = default;
    // The current state of the local computer's service of that name: 1..7, or kServiceCannotOpen
    // when the manager or the service cannot be opened with that access or the query fails.
    virtual int QueryState(std::string_view serviceName, ServiceAccess access) = 0;
};

}  // namespace ovp
