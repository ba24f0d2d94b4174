#pragma once
// Localised captions of the product's fixed-size windows (the status window, the log viewer, the
// error report). Their controls are laid out for the English texts, so a translation may take no
// more room than the English text it stands for.

#include <string>
#include <string_view>

#include "platform/locale_text.h"

namespace ovp {

// The localised text as it fits in the English text's room: one that is longer, counted in
// characters (UTF-8 code points, not bytes), keeps its first English-length - 3 characters and
// ends in "...". Where the English text has three characters or fewer there is no room for the
// dots, and the first English-length characters are kept.
std::string FitCaption(std::string_view localised, std::string_view english);

// The caption with that id: the localised text (brand word replaced by brandName) fitted to the
// English text, or the English text unchanged when there is no localised one.
std::string WindowCaption(ILocaleText& texts, int id, std::string_view english, std::string_view brandName);

// A unit word ("day(s)" and the like): the localised text with "." appended, since the
// translations are stored without the full stop the English units end in; or the English text.
std::string LocalisedUnit(ILocaleText& texts, int id, std::string_view english, std::string_view brandName);

}  // namespace ovp
