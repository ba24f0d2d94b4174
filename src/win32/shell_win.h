#pragma once
// The shell port on ShellExecuteW.

#include "platform/shell.h"

namespace ovp::win {

class Win32Shell final : public IShell {
  public:
    ShellResult Execute(const ShellRequest& request) override;
};

}  // namespace ovp::win
