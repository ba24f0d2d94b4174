#pragma once
// The tooltip texts of the windows' buttons and pictures: one table keyed by form and control
// name ("frmStatus.Cmd_Yes"), wrapped into short lines before use.

#include <span>
#include <string>
#include <string_view>

#include "platform/locale_text.h"

namespace ovp {

struct ToolTipEntry {
    std::string_view key;      // form name + "." + control name
    int textId = 0;            // string-table id of a localised text; 0: there is none
    std::string_view english;  // the built-in English text
};

// The table of the program's tooltips, in the order it is searched.
std::span<const ToolTipEntry> ToolTipTable();

// The first entry of table whose key equals key (case matters, as with control names); nullptr
// when there is none.
const ToolTipEntry* FindToolTip(std::span<const ToolTipEntry> table, std::string_view key);

// The tooltip of a control, wrapped and ready to show: the localised text where the entry has one,
// the English text otherwise; "" for a key that is not in the table.
std::string ToolTipText(ILocaleText& texts, std::string_view key, std::string_view brandName);

// Tooltip texts longer than 70 characters are shown on two lines, split at the first blank at or
// after the middle, and texts longer than 140 characters on three, split at the first blanks at or
// after one third and two thirds; the blank at a split becomes the CR LF between the lines. A
// split with no blank at or after its point is not made. Characters are counted, not bytes. A
// text that already holds line breaks keeps them, and each of its lines is measured on its own.
std::string WrapToolTipText(std::string_view text);

}  // namespace ovp
