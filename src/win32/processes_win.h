#pragma once
// The process port on the process-status API.

#include "platform/processes.h"

namespace ovp::win {

class Win32Processes final : public IProcesses {
  public:
    // Each process is opened for limited query only, the least a process of another integrity
    // level still grants; one that refuses even that is listed with an empty path.
    std::vector<ProcessInfo> List() override;
    bool End(std::uint32_t id) override;
};

}  // namespace ovp::win
