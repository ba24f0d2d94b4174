#pragma once
// Dates and times as users type them and as older files hold them, brought to the stored form:
// "03/15/2026" -> "03-15-2026", "2:05:09 pm" -> "14:05:09".

#include <optional>
#include <string>
#include <string_view>

namespace ovp {

// Upper-cased, the locale's date separator (and "/" or ".") replaced by "-", every part a whole
// number; nullopt when a part is empty or not numeric.
std::optional<std::string> ValidateTalluxDateFormat(std::string_view text, std::string_view dateSeparator = "/");

// Upper-cased, "AM"/"PM" dropped with the hour moved to the 24-hour form, every part between the
// ":" a whole number; nullopt otherwise, and for an hour that is no hour of a 12-hour clock when
// "AM" or "PM" is given.
std::optional<std::string> ValidateTalluxTimeFormat(std::string_view text);

}  // namespace ovp
