#pragma once
// Port: file-system operations whose safe form differs by system. The portable library cannot see
// Windows links (symbolic links and junctions), so whatever must never follow one comes here.

#include <filesystem>

namespace ovp {

class IFileSystem {
  public:
    virtual ~IFileSystem() = default;
    // Deletes a folder with everything in it, or a single file, read-only ones included. A link
    // is removed itself and never followed, whether it is the path given or lies inside it: what
    // it points at stays untouched. True when nothing is left at the path afterwards (also when
    // nothing was there).
    virtual bool DeleteTree(const std::filesystem::path& path) = 0;
};

}  // namespace ovp
