#pragma once
// The windows port on FindWindowW and the message functions.

#include "platform/windows.h"

namespace ovp::win {

class Win32Windows final : public IWindows {
  public:
    WindowHandle FindTopLevel(std::string_view className, std::string_view title) override;
    bool Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool Send(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
};

}  // namespace ovp::win
