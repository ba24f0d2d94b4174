#pragma once
// The clock port on the Win32 time functions and the thread's message queue.

#include "platform/clock.h"

namespace ovp::win {

class Win32Clock final : public IClock {
  public:
    DateTime Now() override;
    std::uint64_t TickMs() override;
    void Sleep(std::uint32_t ms) override;
    // Runs the calling thread's window messages until ms have passed. A WM_QUIT taken from the
    // queue meanwhile is posted again afterwards, so the main loop still ends.
    void WaitPumping(std::uint32_t ms) override;
};

}  // namespace ovp::win
