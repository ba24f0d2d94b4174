#pragma once
// Port: the mail-paths companion library, which finds the folders of the user's mail programs and
// shell folders and records each one in the automatic-path file (SimpleAutoPath.ini).

#include <filesystem>
#include <string_view>

namespace ovp {

class IMailPaths {
  public:
    virtual ~IMailPaths() = default;
    // Calls the library's detection function `function` (one of contract::kAutoPathEntries) with
    // iniFile; the function writes its one key into section AUTOFILEPATHS, "" when it found
    // nothing. False when the library or the function is missing, or the function failed.
    virtual bool Detect(std::string_view function, const std::filesystem::path& iniFile) = 0;
};

}  // namespace ovp
