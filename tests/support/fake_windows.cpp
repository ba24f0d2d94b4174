#include "fake_windows.h"

namespace ovp::test {

WindowHandle FakeWindows::Find(std::string_view title, bool engineDialog) const {
    for (const Window& window : windows) {
        if (window.title == title && (!engineDialog || window.engineDialog)) {
            return window.handle;
        }
    }
    return 0;
}

WindowHandle FakeWindows::FindEngineHiddenDialog(std::string_view title) {
    return Find(title, true);
}

bool FakeWindows::PostSessionEnd(WindowHandle hiddenDialog) {
    calls.emplace_back("session end", hiddenDialog);
    return hiddenDialog != 0;
}

WindowHandle FakeWindows::FindTopLevel(std::string_view title) {
    return Find(title, false);
}

bool FakeWindows::Close(WindowHandle window) {
    calls.emplace_back("close", window);
    return window != 0;
}

WindowHandle FakeWindows::FindTopLevelFramed(std::string_view prefix, std::string_view suffix) {
    for (const Window& window : windows) {
        const std::string_view title = window.title;
        if (!window.engineDialog && title.size() >= prefix.size() + suffix.size() && title.starts_with(prefix) &&
            title.ends_with(suffix)) {
            return window.handle;
        }
    }
    return 0;
}

bool FakeWindows::BringToFront(WindowHandle window) {
    calls.emplace_back("front", window);
    return window != 0;
}

WindowHandle FakeWindows::Add(std::string title, bool engineDialog) {
    nextHandle_ += 0x10;
    windows.push_back({nextHandle_, std::move(title), engineDialog});
    return nextHandle_;
}

}  // namespace ovp::test
