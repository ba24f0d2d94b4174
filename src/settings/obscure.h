#pragma once
// The obscured form of profile keys and values, shared with the engine: every character is moved
// up by contract::kObscureOffset code points on write and down again on read. It hides values
// from a casual look; it is not encryption.
//
// The shift runs over the characters an ini line can hold: every Unicode scalar value except NUL,
// CR and LF, with the surrogate gap skipped and the top of the range wrapping round to the bottom.
// So the transform is a bijection on storable text: no character becomes one that an ini file
// cannot keep, and every value reads back as written. For ordinary characters this is simply
// "code + 3". NUL, CR and LF (which no ini value holds) pass through unchanged.

#include <string>
#include <string_view>

namespace ovp {

// Plain UTF-8 text to its obscured form (same number of characters).
std::string Obscure(std::string_view plain);
// The obscured form back to plain text.
std::string Unobscure(std::string_view obscured);

// The name under which the main form carries the transform for the engine's input.
inline std::string EncryptDLLInput(std::string_view plain) {
    return Obscure(plain);
}

}  // namespace ovp
