#pragma once
// Small text helpers shared by the whole core. Text is UTF-8 inside the core.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ovp {

// Removes leading and trailing blanks (spaces only, as the stored values are trimmed).
std::string Trim(std::string_view text);
// Removes leading and trailing blanks, tabs, CR and LF.
std::string TrimWhitespace(std::string_view text);
// The text up to (not including) the first NUL.
std::string CutAtNul(std::string_view text);

char ToLowerAscii(char c);
std::string ToLowerAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// Splits at every occurrence of separator (which must not be empty); "" gives one empty piece.
std::vector<std::string> Split(std::string_view text, std::string_view separator);

// Lenient whole-number parse: trimmed, optional sign, digits only; anything else is nullopt.
std::optional<long long> ParseInteger(std::string_view text);
// Lenient parse that gives fallback for anything that is not a whole number.
long long ParseIntegerOr(std::string_view text, long long fallback);

// UTF-8 <-> UTF-16 and code points. Invalid input becomes U+FFFD; nothing throws.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
std::u32string Utf8ToCodePoints(std::string_view text);
std::string CodePointsToUtf8(std::u32string_view text);
bool IsValidUtf8(std::string_view text);

// The longest start of the text that takes at most maxUnits UTF-16 units, cut before a
// character that would not fit whole.
std::string CutToUtf16Units(std::string_view text, std::size_t maxUnits);

// UTF-16LE bytes, as written to the Unicode trace and ini files.
std::string Utf16LeBytes(std::u16string_view text);
// Decodes file bytes that may carry a BOM: UTF-16LE (FF FE), UTF-8 (EF BB BF), or no BOM. Text
// without a BOM is taken as UTF-8 when valid, otherwise as Windows-1252 (single bytes).
std::string DecodeTextFile(std::string_view bytes);
std::string Latin1ToUtf8(std::string_view bytes);

}  // namespace ovp
