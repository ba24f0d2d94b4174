#pragma once
// A recording fake of the tray icon port.

#include <filesystem>
#include <string>
#include <vector>

#include "base/files.h"
#include "platform/tray.h"

namespace ovp::test {

class FakeTrayIcon : public ITrayIcon {
  public:
    bool Add(const std::filesystem::path& iconFile, std::string_view tip) override {
        added = true;
        icons.push_back(iconFile);
        tips.emplace_back(tip);
        return true;
    }
    bool SetIcon(const std::filesystem::path& iconFile) override {
        icons.push_back(iconFile);
        return added;
    }
    bool SetTip(std::string_view tip) override {
        tips.emplace_back(tip);
        return added;
    }
    bool Remove() override {
        added = false;
        return true;
    }
    bool IsAdded() const override { return added; }

    // The picture's file name and the tooltip shown now; "" before any was set.
    std::string IconName() const { return icons.empty() ? std::string() : Utf8FromPath(icons.back().filename()); }
    std::string Tip() const { return tips.empty() ? std::string() : tips.back(); }

    bool added = false;
    // Every picture and tooltip passed, in order.
    std::vector<std::filesystem::path> icons;
    std::vector<std::string> tips;
};

}  // namespace ovp::test
