#pragma once
// The texts of the schedule windows. Each has an id in the language file and the English text
// shown when the file has none.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/locale_text.h"

namespace ovp {

struct ScheduleText {
    int id;
    std::string_view english;
};

// The localised text with the brand word replaced, or the English text.
std::string Localised(ILocaleText& texts, ScheduleText text, std::string_view brandName);

// A fixed text of a window (its title, a label, a button, a column heading), localised by the
// presenter for the view to put on its control.
template <class Control>
struct Caption {
    Control control;
    std::string text;

    bool operator==(const Caption&) const = default;
};

template <class Control>
struct CaptionRow {
    Control control;
    ScheduleText text;
};

template <class Control>
std::vector<Caption<Control>> LocalisedCaptions(std::span<const CaptionRow<Control>> rows,
                                                ILocaleText& texts,
                                                std::string_view brandName) {
    std::vector<Caption<Control>> captions;
    for (const CaptionRow<Control>& row : rows) {
        captions.push_back({row.control, Localised(texts, row.text, brandName)});
    }
    return captions;
}

}  // namespace ovp
