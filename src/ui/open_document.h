#pragma once
// Opening a file for the user: one the engine wrote (a session log, the backup and restore log),
// or the help guide.

#include <filesystem>

#include "context/app_context.h"
#include "platform/shell.h"

namespace ovp {

// The shell's "open", maximised; a file type without a program brings up the open-with chooser.
void OpenDocument(IShell& shell, const std::filesystem::path& file);

// The help guide in the application folder, at its first page: "OVP Help.chm" for the brand
// product, else the program group's name followed by "Help.chm". The tray menu's Help, the log
// viewer's and the wizard's help pictures all open this one.
void OpenHelpGuide(AppContext& context);

}  // namespace ovp
