#pragma once
// The file-system port on the standard library, for the native tests: there it sees links and
// does not follow them (under mingw it would, which is why the monitor has its own adapter).

#include "platform/file_system.h"

namespace ovp::test {

class StdFileSystem : public IFileSystem {
  public:
    bool DeleteTree(const std::filesystem::path& path) override;
};

}  // namespace ovp::test
