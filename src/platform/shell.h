#pragma once
// Port: the shell's "execute": open a document or start a program with a verb and a window mode.

#include <cstdint>
#include <filesystem>
#include <string>

namespace ovp {

enum class ShowMode { Hidden, Normal, Maximized };

struct ShellRequest {
    std::string verb = "open";  // "open", "runas", ...
    std::filesystem::path file;
    std::string arguments;                // "" for none
    std::filesystem::path workingFolder;  // empty for none
    ShowMode show = ShowMode::Normal;
};

// The shell's answers for values of 32 and below (the others mean success).
inline constexpr std::int64_t kShellFileNotFound = 2;
inline constexpr std::int64_t kShellNoAssociation = 31;

struct ShellResult {
    // The instance value the shell reports: above 32 on success, otherwise its error code (0 when
    // it could not even try).
    std::int64_t instance = 0;
    // The system's last error after a failed request, with its text; 0 and "" after a success.
    std::uint32_t errorNumber = 0;
    std::string errorText;

    bool Succeeded() const { return instance > 32; }
};

class IShell {
  public:
    virtual ~IShell() = default;
    // Does not wait for what it starts.
    virtual ShellResult Execute(const ShellRequest& request) = 0;
    // The system's "open with" chooser for a file whose type has no program.
    virtual ShellResult OpenWithChooser(const std::filesystem::path& file) = 0;
};

}  // namespace ovp
