#pragma once
// Port: the one notification-area icon of the monitor, identified by its window and id 0.

#include <filesystem>
#include <string_view>

namespace ovp {

class ITrayIcon {
  public:
    virtual ~ITrayIcon() = default;
    // Adds the icon with the picture and tooltip; false when the shell refuses (no taskbar yet).
    virtual bool Add(const std::filesystem::path& iconFile, std::string_view tip) = 0;
    virtual bool SetIcon(const std::filesystem::path& iconFile) = 0;
    // At most 63 characters show; longer tips are cut there.
    virtual bool SetTip(std::string_view tip) = 0;
    virtual bool Remove() = 0;
    virtual bool IsAdded() const = 0;
};

}  // namespace ovp
