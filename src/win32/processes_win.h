#pragma once
// The process port on the process-status API.

#include "platform/processes.h"

namespace ovp::win {

class Win32Processes : public IProcesses {
  public:
    // Each process is opened for limited query only, the least a process of another integrity
    // level still grants; one that refuses even that is listed with an empty path.
    std::vector<ProcessInfo> List() override;
    // A process that refuses the rights to be asked and ended together is not counted.
    std::size_t EndMatching(const std::function<bool(std::string_view imagePath)>& matches) override;
    EndByIdResult EndById(std::uint32_t id, const std::function<bool(std::string_view imagePath)>& matches) override;
};

}  // namespace ovp::win
