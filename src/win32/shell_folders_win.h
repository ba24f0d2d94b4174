#pragma once
// The shell-folders port on the Win32 API.

#include "platform/shell_folders.h"

namespace ovp::win {

class Win32ShellFolders final : public IShellFolders {
  public:
    std::string WindowsFolder() override;
    // The long form of GetTempPathW; the short form when the folder has no long one to give
    // (it does not exist), since it still names the temporary folder.
    std::string TempFolder() override;
    std::string SpecialFolder(int csidl) override;
};

}  // namespace ovp::win
