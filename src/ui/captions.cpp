#include "ui/captions.h"

#include "base/text.h"
#include "contract/locale_file.h"

namespace ovp {

namespace {

constexpr std::u32string_view kEllipsis = U"...";

}  // namespace

std::string FitCaption(std::string_view localised, std::string_view english) {
    const std::u32string text = Utf8ToCodePoints(localised);
    const std::size_t room = Utf8ToCodePoints(english).size();
    if (text.size() <= room) {
        return std::string(localised);
    }
    if (room <= kEllipsis.size()) {
        return CodePointsToUtf8(std::u32string_view(text).substr(0, room));
    }
    std::u32string fitted = text.substr(0, room - kEllipsis.size());
    fitted += kEllipsis;
    return CodePointsToUtf8(fitted);
}

std::string WindowCaption(ILocaleText& texts, int id, std::string_view english, std::string_view brandName) {
    const std::string localised = GetLocaleString(texts, id);
    if (localised.empty()) {
        return std::string(english);
    }
    return FitCaption(ReplaceBrandWord(localised, brandName), english);
}

std::string LocalisedUnit(ILocaleText& texts, int id, std::string_view english, std::string_view brandName) {
    const std::string localised = GetLocaleString(texts, id);
    if (localised.empty()) {
        return std::string(english);
    }
    return ReplaceBrandWord(localised, brandName) + ".";
}

}  // namespace ovp
