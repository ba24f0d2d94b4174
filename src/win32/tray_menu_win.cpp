#include "win32/tray_menu_win.h"

#include <string>

#include "win32/text_win.h"

namespace ovp::win {

unique_hmenu BuildPopupMenu(std::span<const TrayMenuEntry> entries) {
    unique_hmenu menu(::CreatePopupMenu());
    if (!menu) {
        return menu;
    }
    for (const TrayMenuEntry& entry : entries) {
        if (!entry.visible) {
            continue;
        }
        if (entry.separator) {
            ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING;
        flags |= entry.enabled ? MF_ENABLED : MF_GRAYED;
        flags |= entry.checked ? MF_CHECKED : MF_UNCHECKED;
        const std::wstring caption = Wide(entry.caption);
        ::AppendMenuW(menu.get(), flags, static_cast<UINT_PTR>(CommandId(entry.item)), caption.c_str());
    }
    return menu;
}

}  // namespace ovp::win
