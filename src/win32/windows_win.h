#pragma once
// The windows port on FindWindowW and the message functions.

#include "platform/windows.h"

namespace ovp::win {

class Win32Windows final : public IWindows {
  public:
    WindowHandle FindEngineHiddenDialog(std::string_view title) override;
    bool PostSessionEnd(WindowHandle hiddenDialog) override;
    WindowHandle FindTopLevel(std::string_view title) override;
    bool Close(WindowHandle window) override;
    WindowHandle FindTopLevelFramed(std::string_view prefix, std::string_view suffix) override;
    bool BringToFront(WindowHandle window) override;
};

}  // namespace ovp::win
