#pragma once
// Port: the top-level windows of other programs, found by class and title and sent messages.

#include <cstdint>
#include <string_view>

namespace ovp {

// An opaque window handle value; 0 is no window.
using WindowHandle = std::uintptr_t;

class IWindows {
  public:
    virtual ~IWindows() = default;
    // The first top-level window of that class and title; "" matches any class (or any title).
    // 0 when there is none.
    virtual WindowHandle FindTopLevel(std::string_view className, std::string_view title) = 0;
    // Queues the message and returns at once; false when it could not be queued.
    virtual bool Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // Delivers the message and waits for the window to handle it. A window that does not answer
    // (hung) is given up on: false then, true when it was handled.
    virtual bool Send(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};

}  // namespace ovp
