#include "schedules/schedule_texts.h"

#include "contract/locale_file.h"

namespace ovp {

std::string Localised(ILocaleText& texts, ScheduleText text, std::string_view brandName) {
    return LocaleStringOr(texts, text.id, text.english, brandName);
}

}  // namespace ovp
