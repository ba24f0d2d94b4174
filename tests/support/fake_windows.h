#pragma once
// A recording fake of the windows port: windows are registered by title, and whether each is the
// engine's hidden dialog.

#include <algorithm>
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

    WindowHandle FindEngineHiddenDialog(std::string_view title) override {
        return Find([&](const Window& w) { return w.engineDialog && w.title == title; });
    }
    bool PostSessionEnd(WindowHandle hiddenDialog) override { return Record("session end", hiddenDialog); }
    WindowHandle FindTopLevel(std::string_view title) override {
        return Find([&](const Window& w) { return w.title == title; });
    }
    bool Close(WindowHandle window) override { return Record("close", window); }
    WindowHandle FindTopLevelFramed(std::string_view prefix, std::string_view suffix) override {
        return Find([&](const Window& w) {
            const std::string_view title = w.title;
            return !w.engineDialog && title.size() >= prefix.size() + suffix.size() && title.starts_with(prefix) &&
                   title.ends_with(suffix);
        });
    }
    // Recorded as "front".
    bool BringToFront(WindowHandle window) override { return Record("front", window); }

    WindowHandle Add(std::string title, bool engineDialog = false) {
        nextHandle_ += 0x10;
        windows.push_back({nextHandle_, std::move(title), engineDialog});
        return nextHandle_;
    }

    std::vector<Window> windows;
    // What reached which window: "session end", "close" or "front".
    std::vector<std::pair<std::string, WindowHandle>> calls;

  private:
    // The first window that fits, 0 when none does.
    template <class Fits>
    WindowHandle Find(Fits fits) const {
        const auto found = std::ranges::find_if(windows, fits);
        return found == windows.end() ? 0 : found->handle;
    }
    bool Record(std::string what, WindowHandle window) {
        calls.emplace_back(std::move(what), window);
        return window != 0;
    }

    WindowHandle nextHandle_ = 0x1000;
};

}  // namespace ovp::test
