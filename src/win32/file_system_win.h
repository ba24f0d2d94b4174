#pragma once
// The file-system port on the Win32 file API, which shows links for what they are.

#include "platform/file_system.h"

namespace ovp::win {

class Win32FileSystem final : public IFileSystem {
  public:
    bool DeleteTree(const std::filesystem::path& path) override;
};

}  // namespace ovp::win
