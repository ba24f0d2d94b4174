#pragma once
// Port: the running processes of the computer, as far as this user may see them.

#include <cstdint>
#include <string>
#include <vector>

namespace ovp {

struct ProcessInfo {
    std::uint32_t id = 0;
    // Full path of the process's executable (UTF-8); "" when the process could not be asked.
    std::string imagePath;
};

class IProcesses {
  public:
    virtual ~IProcesses() = default;
    // Every process running now; an empty list when they cannot be enumerated.
    virtual std::vector<ProcessInfo> List() = 0;
    // Ends the process with exit code 0; false when it cannot be opened or ended. The calling
    // process itself is never ended: a stale id read from a shared file may have come to name it.
    virtual bool End(std::uint32_t id) = 0;
};

}  // namespace ovp
