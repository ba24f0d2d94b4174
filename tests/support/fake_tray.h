#pragma once
// A recording fake of the tray icon port.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/tray.h"

namespace ovp::test {

class FakeTrayIcon : public ITrayIcon {
  public:
    bool Add(const std::filesystem::path& iconFile, std::string_view tip) override;
    bool SetIcon(const std::filesystem::path& iconFile) override;
    bool SetTip(std::string_view tip) override;
    bool Remove() override;
    bool IsAdded() const override { return added; }

    // The picture's file name and the tooltip shown now; "" before any was set.
    std::string IconName() const;
    std::string Tip() const { return tips.empty() ? std::string() : tips.back(); }

    bool added = false;
    // Every picture and tooltip passed, in order.
    std::vector<std::filesystem::path> icons;
    std::vector<std::string> tips;
};

}  // namespace ovp::test
