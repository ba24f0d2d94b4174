#pragma once
// A recording fake of the windows port: windows are registered by title, and whether each is the
// engine's hidden dialog.

#include <string>
#include <utility>
#include <vector>

#include "platform/windows.h"

namespace ovp::test {

class FakeWindows : public IWindows {
  public:
    struct Window {
        WindowHandle handle = 0;
        std::string title;
        bool engineDialog = false;
    };

    WindowHandle FindEngineHiddenDialog(std::string_view title) override;
    bool PostSessionEnd(WindowHandle hiddenDialog) override;
    WindowHandle FindTopLevel(std::string_view title) override;
    bool Close(WindowHandle window) override;
    WindowHandle FindTopLevelFramed(std::string_view prefix, std::string_view suffix) override;
    // Recorded as "front".
    bool BringToFront(WindowHandle window) override;

    WindowHandle Add(std::string title, bool engineDialog = false);

    std::vector<Window> windows;
    // What reached which window: "session end", "close" or "front".
    std::vector<std::pair<std::string, WindowHandle>> calls;

  private:
    WindowHandle Find(std::string_view title, bool engineDialog) const;

    WindowHandle nextHandle_ = 0x1000;
};

}  // namespace ovp::test
