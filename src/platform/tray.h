#pragma once
// Port: the one notification-area icon of the monitor, identified by its window and id 0.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/text.h"

namespace ovp {

// The shell shows at most this many UTF-16 units of a tooltip (its field holds 64 with the NUL).
inline constexpr std::size_t kTrayTipMaxUnits = 63;

// The tooltip as the shell shows it: at most kTrayTipMaxUnits UTF-16 units, cut before a
// character that would not fit whole.
inline std::string CutTrayTip(std::string_view text) {
    return CutToUtf16Units(text, kTrayTipMaxUnits);
}

// The two mouse events on the tray icon that the monitor acts on, from the icon's callback and
// from the private tray message alike.
enum class TrayMouse {
    DoubleClick,  // left button
    RightUp,      // right button released
};

class ITrayIcon {
  public:
    virtual ~ITrayIcon() = default;
    // Adds the icon with the picture and tooltip; false when the shell refuses (no taskbar yet).
    virtual bool Add(const std::filesystem::path& iconFile, std::string_view tip) = 0;
    virtual bool SetIcon(const std::filesystem::path& iconFile) = 0;
    // Cut as CutTrayTip does.
    virtual bool SetTip(std::string_view tip) = 0;
    virtual bool Remove() = 0;
    virtual bool IsAdded() const = 0;
};

}  // namespace ovp
