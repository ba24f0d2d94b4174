#pragma once
// Opening a file the engine wrote (a session log, the backup and restore log) for the user.

#include <filesystem>

#include "platform/shell.h"

namespace ovp {

// The shell's "open", maximised; a file type without a program brings up the open-with chooser.
void OpenDocument(IShell& shell, const std::filesystem::path& file);

}  // namespace ovp
