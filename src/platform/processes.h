#pragma once
// Port: the running processes of the computer, as far as this user may see them.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ovp {

// What became of a request to end one process by its id.
enum class EndByIdResult {
    Ended,
    NotRunning,  // no process has that id (or it could not be opened)
    Refused,     // another program, another logon session, or the monitor itself: left running
    Failed,      // the right one, but it could not be ended
};

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
    // Only processes of the caller's own logon session are ended.
    virtual std::size_t EndMatching(const std::function<bool(std::string_view imagePath)>& matches) = 0;
    // Ends the process with that id, with exit code 0, when `matches` accepts its executable path
    // read on the very handle that ends it, it runs in the caller's logon session and it is not the
    // caller. An id read from a file may long since name another program: that one is refused.
    virtual EndByIdResult EndById(std::uint32_t id, const std::function<bool(std::string_view imagePath)>& matches) = 0;
};

}  // namespace ovp
