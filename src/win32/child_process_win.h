#pragma once
// The process launcher on CreateProcessW: the program is started directly (no command
// interpreter), hidden, in the given folder, and held by its process handle.

#include "platform/child_process.h"

namespace ovp::win {

class Win32ProcessLauncher final : public IProcessLauncher {
  public:
    std::unique_ptr<IChildProcess> Launch(const LaunchRequest& request) override;
};

}  // namespace ovp::win
