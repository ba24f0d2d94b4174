#include "support/std_file_system.h"

#include <system_error>

namespace ovp::test {

bool StdFileSystem::DeleteTree(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::remove_all(path, error);
    return !std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

}  // namespace ovp::test
