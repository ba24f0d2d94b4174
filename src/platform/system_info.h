#pragma once
// Port: facts about the running system.

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
};

}  // namespace ovp
