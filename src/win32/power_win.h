#pragma once
// The power port on the thread execution state and named waitable timers.

#include "platform/power.h"

namespace ovp::win {

class Win32Power final : public IPower {
  public:
    std::uint32_t RequestExecutionState(ExecutionRequest request) override;
    std::unique_ptr<IWakeTimer> OpenWakeTimer(std::string_view name) override;
};

}  // namespace ovp::win
