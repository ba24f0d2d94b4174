#pragma once
// Port: the local clock and the waits of the user-interface thread.

#include <cstdint>

#include "base/datetime.h"

namespace ovp {

class IClock {
  public:
    virtual ~IClock() = default;
    // Local date and time, to the second.
    virtual DateTime Now() = 0;
    // Milliseconds since an arbitrary start; never goes back.
    virtual std::uint64_t TickMs() = 0;
    // Blocks the thread for ms milliseconds.
    virtual void Sleep(std::uint32_t ms) = 0;
    // Waits ms milliseconds while window events keep running.
    virtual void WaitPumping(std::uint32_t ms) = 0;
};

}  // namespace ovp
