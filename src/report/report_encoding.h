#pragma once
// How text goes into an error report's body, which travels raw inside one field of the
// notification form.

#include <string>
#include <string_view>

namespace ovp {

// `URLEncodeWebd`: "" for a text that is empty after trimming; otherwise the UTF-8 bytes with
// "/", digits and ASCII letters as they are and every other byte as "%" and two upper-case hex
// digits. The text is not trimmed, so indented lines keep their indentation.
std::string URLEncodeWebd(std::string_view text);

// Each line of the typed message encoded, the lines joined by "\n".
std::string EncodeMessageLines(std::string_view message);

// A value read by the program (a name, an address, a path) as it may stand in the body: "&",
// "%", "+", "=", CR and LF percent-encoded, so that it cannot start a form field of its own;
// every other character stays, so ordinary values are unchanged.
std::string FormSafe(std::string_view value);

}  // namespace ovp
