#pragma once
// The one address check for every e-mail address a user types: the schedule's mail list and the
// error report's reply address.

#include <string_view>

namespace ovp {

// Whether the text is a usable e-mail address: one "@" with something before it, a "." after it,
// the first "@" and the first "." at least two characters apart, not ending with ".", and no "(",
// ",", ";", blank or control character. Addresses are stored one per line and records are
// separated by control characters, so such characters would corrupt the files they are kept in.
bool IsValidEmail(std::string_view address);

}  // namespace ovp
