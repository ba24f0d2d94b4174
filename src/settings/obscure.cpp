#include "settings/obscure.h"

#include <cstdint>

#include "base/text.h"
#include "contract/engine_contract.h"

namespace ovp {

namespace {

// The storable characters, numbered densely from 0: U+0001..U+D7FF without CR and LF, then
// U+E000..U+10FFFF.
constexpr char32_t kSurrogateFirst = 0xD800;
constexpr char32_t kSurrogateLast = 0xDFFF;
constexpr char32_t kLastCodePoint = 0x10FFFF;
constexpr std::uint32_t kGapSize = kSurrogateLast - kSurrogateFirst + 1;
// Code points below the gap that are left out: NUL, LF and CR.
constexpr std::uint32_t kSkippedLow = 3;
constexpr std::uint32_t kDomainSize = kLastCodePoint + 1 - kGapSize - kSkippedLow;

bool IsOutsideDomain(char32_t cp) {
    return cp == 0 || cp == U'\n' || cp == U'\r' || (cp >= kSurrogateFirst && cp <= kSurrogateLast) ||
           cp > kLastCodePoint;
}

std::uint32_t IndexOf(char32_t cp) {
    std::uint32_t index = cp - 1;  // NUL is not in the domain
    if (cp > U'\n') {
        --index;
    }
    if (cp > U'\r') {
        --index;
    }
    if (cp > kSurrogateLast) {
        index -= kGapSize;
    }
    return index;
}

char32_t CodePointAt(std::uint32_t index) {
    char32_t cp = index + 1;
    if (cp >= U'\n') {
        ++cp;
    }
    if (cp >= U'\r') {
        ++cp;
    }
    if (cp >= kSurrogateFirst) {
        cp += kGapSize;
    }
    return cp;
}

std::string Shift(std::string_view text, std::uint32_t steps) {
    std::u32string points = Utf8ToCodePoints(text);
    for (char32_t& cp : points) {
        if (!IsOutsideDomain(cp)) {
            cp = CodePointAt((IndexOf(cp) + steps) % kDomainSize);
        }
    }
    return CodePointsToUtf8(points);
}

}  // namespace

std::string Obscure(std::string_view plain) {
    return Shift(plain, static_cast<std::uint32_t>(contract::kObscureOffset));
}

std::string Unobscure(std::string_view obscured) {
    return Shift(obscured, kDomainSize - static_cast<std::uint32_t>(contract::kObscureOffset));
}

}  // namespace ovp
