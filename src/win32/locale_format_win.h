#pragma once
// The locale-format port on the user's locale settings (Control Panel, Region).

#include "platform/locale_format.h"

namespace ovp::win {

// Reads the settings at every call: the user may change them while the monitor runs.
class Win32LocaleFormat final : public ILocaleFormat {
  public:
    std::string ShortDatePattern() override;
    std::string DecimalSeparator() override;
};

}  // namespace ovp::win
