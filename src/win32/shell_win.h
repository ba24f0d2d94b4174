#pragma once
// The shell port on ShellExecuteW.

#include "platform/shell.h"

namespace ovp::win {

class Win32Shell final : public IShell {
  public:
    ShellResult Execute(const ShellRequest& request) override;
    ShellResult OpenWithChooser(const std::filesystem::path& file) override;
};

// What OpenWithChooser asks of the shell: the system folder's rundll32.exe, by its full path so
// that no program of that name elsewhere (the current folder, the search path) is started.
ShellRequest OpenWithChooserRequest(const std::filesystem::path& file);

}  // namespace ovp::win
