#pragma once
// The file-system port on the Win32 file API, which shows links for what they are.

#include "platform/file_system.h"

namespace ovp::win {

class Win32FileSystem final : public IFileSystem {
  public:
    bool DeleteTree(const std::filesystem::path& path) override;
};

// Writes a closed file's cached bytes through to the disk (FlushFileBuffers).
bool FlushFileToDisk(const std::filesystem::path& file);
// Makes every whole-file replace of the core flush its new file before the rename, so a crash of
// the computer right after a replace cannot leave an empty file in the old one's place.
void InstallFileFlush();

}  // namespace ovp::win
