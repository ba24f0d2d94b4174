#pragma once
// A recording fake of the windows port: windows are registered by class and title.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/windows.h"

namespace ovp::test {

class FakeWindows : public IWindows {
  public:
    struct Window {
        WindowHandle handle = 0;
        std::string className;
        std::string title;
    };
    struct Message {
        WindowHandle window = 0;
        std::uint32_t message = 0;
        std::uintptr_t wParam = 0;
        std::intptr_t lParam = 0;
        bool sent = false;  // Send, not Post
    };

    WindowHandle FindTopLevel(std::string_view className, std::string_view title) override;
    bool Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool Send(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;

    WindowHandle Add(std::string className, std::string title);

    std::vector<Window> windows;
    std::vector<Message> messages;

  private:
    WindowHandle nextHandle_ = 0x1000;
};

}  // namespace ovp::test
