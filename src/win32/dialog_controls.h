#pragma once
// The core's UTF-8 texts onto the controls of a dialog: the few calls every view makes.

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <string_view>

#include "win32/text_win.h"

namespace ovp::win {

inline void SetControlText(HWND dialog, int id, std::string_view text) {
    ::SetDlgItemTextW(dialog, id, Wide(text).c_str());
}

// A caption for a button: '&' would otherwise be taken as the mark of a shortcut key and vanish.
inline std::wstring ButtonCaption(std::string_view caption) {
    std::wstring out;
    for (const wchar_t c : Wide(caption)) {
        out += c;
        if (c == L'&') {
            out += L'&';
        }
    }
    return out;
}

inline void SetButtonText(HWND dialog, int id, std::string_view caption) {
    ::SetDlgItemTextW(dialog, id, ButtonCaption(caption).c_str());
}

// One cell of a report-mode list view: an item's text (column 0) or one of its sub-items.
inline void SetListCell(HWND list, int item, int column, std::string_view text) {
    std::wstring wide = Wide(text);
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = wide.data();
    ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell));
}

}  // namespace ovp::win
