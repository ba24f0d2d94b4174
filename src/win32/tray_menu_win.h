#pragma once
// A real pop-up menu from the tray menu model. Win32 menus have no hidden items, so a hidden
// item is left out; everything else (captions, separators, checks, greyed items, command ids)
// comes from the model as it stands when the menu is built.

#include <windows.h>

#include <span>

#include "context/tray_menu_model.h"
#include "win32/unique_resource.h"

namespace ovp::win {

unique_hmenu BuildPopupMenu(std::span<const TrayMenuEntry> entries);

}  // namespace ovp::win
