#pragma once
// The system-information port on the Win32 API.

#include "platform/system_info.h"

namespace ovp::win {

class Win32SystemInfo final : public ISystemInfo {
  public:
    // The version Windows really runs. GetVersionEx answers 6.2 for every later Windows unless the
    // program's manifest names it, so the version comes from ntdll's RtlGetVersion.
    OsVersion Version() override;
    std::string ProcessUserName() override;
};

}  // namespace ovp::win
