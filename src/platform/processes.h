#pragma once
// Port: the running processes of the computer, as far as this user may see them.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
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
    // Ends with exit code 0 every process whose executable path (UTF-8) `matches`. Each process
    // is asked for its path and ended through one and the same opening, so an id that passes to
    // another program meanwhile never ends that program. The calling process is never ended.
    // Answers how many running processes matched, ended or not.
    virtual std::size_t EndMatching(const std::function<bool(std::string_view imagePath)>& matches) = 0;
};

}  // namespace ovp
