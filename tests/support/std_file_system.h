#pragma once
// The file-system port on the standard library, for the native tests: there it sees links and
// does not follow them (under mingw it would, which is why the monitor has its own adapter).

#include <system_error>

#include "platform/file_system.h"

namespace ovp::test {

class StdFileSystem : public IFileSystem {
  public:
    bool DeleteTree(const std::filesystem::path& path) override {
        std::error_code error;
        std::filesystem::remove_all(path, error);
        return !std::filesystem::exists(std::filesystem::symlink_status(path, error));
    }
};

}  // namespace ovp::test
