#pragma once
// Pieces of web addresses that the monitor builds from configured links and user data.

#include <string>
#include <string_view>

namespace ovp {

// The text as one value of a query: every byte other than letters, digits and "-._~@" becomes
// "%" and two upper-case hex digits, so blanks, "&", "#", "+", "%", "?", "=", "/", control
// characters and the UTF-8 bytes of other scripts cannot end the value or change its meaning.
// Ordinary and e-mail user names stay as they are.
std::string PercentEncodeQueryValue(std::string_view value);

// Whether the text is a web address the shell may be handed: it begins with "http://" or
// "https://" in any case. Anything else would make the shell open a file or start a program.
bool IsWebLink(std::string_view text);

}  // namespace ovp
