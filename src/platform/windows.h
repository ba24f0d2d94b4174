#pragma once
// Port: the windows of other programs: the engine's, told about the end of the logon session, and
// the main application's, brought forward or asked to close.

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
    // The first visible top-level window whose title begins with prefix and ends with suffix; 0
    // when there is none.
    virtual WindowHandle FindTopLevelFramed(std::string_view prefix, std::string_view suffix) = 0;
    // Restores the window when it is minimised and makes it the foreground window.
    virtual bool BringToFront(WindowHandle window) = 0;
    // Asks the window to close and waits until it has taken the request. A window that does not
    // answer (hung) is given up on: false then.
    virtual bool Close(WindowHandle window) = 0;
};

}  // namespace ovp
