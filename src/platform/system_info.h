#pragma once
// Port: facts about the running system.

#include <string>

namespace ovp {

struct OsVersion {
    bool nt = true;  // the NT platform (every Windows since 2000)
    int major = 10;
    int minor = 0;
    int build = 0;
};

class ISystemInfo {
  public:
    virtual ~ISystemInfo() = default;
    virtual OsVersion Version() = 0;
    // The Windows user name the monitor's own process runs as ("SYSTEM" under the system
    // account); "" when it cannot be told.
    virtual std::string ProcessUserName() = 0;
};

}  // namespace ovp
