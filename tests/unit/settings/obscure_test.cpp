#include "settings/obscure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "base/text.h"

namespace ovp {
namespace {

// The storable characters around every place where the shift is more than "code + 3".
std::u32string StorableCodePointsNearTheEdges() {
    std::u32string points;
    for (const auto& [first, last] :
         {std::pair<char32_t, char32_t>{1, 0x100}, {0xD700, 0xE100}, {0xFF00, 0x10100}, {0x10FF00, 0x10FFFF}}) {
        for (char32_t cp = first; cp <= last; ++cp) {
            if (cp != U'\n' && cp != U'\r' && (cp < 0xD800 || cp > 0xDFFF)) {
                points += cp;
            }
        }
    }
    return points;
}

TEST(ObscureTest, RaisesEveryCodeByThreeAndReadsBack) {
    EXPECT_EQ(Obscure("abc XYZ 09"), "def#[\\]#3<");
    EXPECT_EQ(Unobscure("def#[\\]#3<"), "abc XYZ 09");
    EXPECT_EQ(EncryptDLLInput("password"), Obscure("password"));
}

TEST(ObscureTest, SkipsTheSurrogateGapAndWrapsAtTheTop) {
    EXPECT_EQ(Utf8ToCodePoints(Obscure(CodePointsToUtf8(U"\U0000D7FD\U0000D7FF"))), U"\U0000E000\U0000E002");
    // The top wraps to the bottom without ever producing NUL, LF or CR.
    EXPECT_EQ(Utf8ToCodePoints(Obscure(CodePointsToUtf8(U"\U0010FFFD\U0010FFFF"))), U"\x01\x03");
    EXPECT_EQ(Utf8ToCodePoints(Obscure(CodePointsToUtf8(U"\x07\x09"))), U"\x0B\x0E");
    EXPECT_EQ(Obscure("\n\r"), "\n\r");
}

TEST(ObscureTest, NoTwoCharactersCollideAndNoneBecomesUnstorable) {
    const std::u32string plain = StorableCodePointsNearTheEdges();
    const std::string obscured = Obscure(CodePointsToUtf8(plain));
    std::u32string points = Utf8ToCodePoints(obscured);
    ASSERT_EQ(points.size(), plain.size());
    EXPECT_EQ(Unobscure(obscured), CodePointsToUtf8(plain));
    for (char32_t cp : points) {
        ASSERT_TRUE(cp != 0 && cp != U'\n' && cp != U'\r' && (cp < 0xD800 || cp > 0xDFFF))
            << std::hex << static_cast<std::uint32_t>(cp);
    }
    std::sort(points.begin(), points.end());
    EXPECT_EQ(std::adjacent_find(points.begin(), points.end()), points.end());
}

}  // namespace
}  // namespace ovp
