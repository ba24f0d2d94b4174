#pragma once
// Port: the windows of other programs that the monitor tells about the end of the logon session.

#include <cstdint>
#include <string_view>

namespace ovp {

// An opaque window handle value; 0 is no window.
using WindowHandle = std::uintptr_t;

class IWindows {
  public:
    virtual ~IWindows() = default;
    // The engine's hidden dialog of that title; 0 when there is none.
    virtual WindowHandle FindEngineHiddenDialog(std::string_view title) = 0;
    // Tells the engine's hidden dialog that the logon session ends. Queued: returns at once;
    // false when it could not be queued.
    virtual bool PostSessionEnd(WindowHandle hiddenDialog) = 0;
    // The first top-level window of that title, of any class; 0 when there is none.
    virtual WindowHandle FindTopLevel(std::string_view title) = 0;
    // Asks the window to close and waits until it has taken the request. A window that does not
    // answer (hung) is given up on: false then.
    virtual bool Close(WindowHandle window) = 0;
};

}  // namespace ovp
