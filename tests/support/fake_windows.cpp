#include "fake_windows.h"

#include <utility>

namespace ovp::test {

WindowHandle FakeWindows::FindTopLevel(std::string_view className, std::string_view title) {
    for (const Window& window : windows) {
        if ((className.empty() || window.className == className) && (title.empty() || window.title == title)) {
            return window.handle;
        }
    }
    return 0;
}

bool FakeWindows::Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    messages.push_back({window, message, wParam, lParam, false});
    return window != 0;
}

bool FakeWindows::Send(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    messages.push_back({window, message, wParam, lParam, true});
    return window != 0;
}

WindowHandle FakeWindows::Add(std::string className, std::string title) {
    nextHandle_ += 0x10;
    windows.push_back({nextHandle_, std::move(className), std::move(title)});
    return nextHandle_;
}

}  // namespace ovp::test
