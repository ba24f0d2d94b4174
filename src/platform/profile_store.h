#pragma once
// Port: private profile (.ini) files with the Windows semantics: case-insensitive sections and
// keys, a missing file, section or key reads as "", a write creates file and section.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/ini_text.h"

namespace ovp {

class IProfileStore {
  public:
    virtual ~IProfileStore() = default;
    // The whole value, however long, cut at its first NUL; "" when missing.
    virtual std::string Read(const std::filesystem::path& file, std::string_view section, std::string_view key) = 0;
    // Writes the value; characters outside the ANSI code page are kept. False on failure.
    virtual bool Write(const std::filesystem::path& file,
                       std::string_view section,
                       std::string_view key,
                       std::string_view value) = 0;
    // The whole file from one reading, every value as Read would give it (a missing file has
    // none): for a caller that asks many values and wants them all from one state of the file.
    // nullopt when the file cannot be read just now, or when this store answers key by key only.
    virtual std::optional<IniText> ReadAll(const std::filesystem::path& file) {
        static_cast<void>(file);
        return std::nullopt;
    }
};

}  // namespace ovp
