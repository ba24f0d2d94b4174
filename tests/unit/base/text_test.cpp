#include "base/text.h"

#include <gtest/gtest.h>

#include <limits>

#include "base/tokenizer.h"

namespace ovp {
namespace {

TEST(TextTest, TrimAndNulCutKeepInnerBlanks) {
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("\ta\t"), "\ta\t");  // only blanks, as stored values are trimmed
    EXPECT_EQ(Trim("    "), "");
    EXPECT_EQ(CutAtNul(std::string("ab\0cd", 5)), "ab");
}

TEST(TextTest, ParseIntegerIsLenientOnlyAboutBlanks) {
    EXPECT_EQ(ParseInteger(" -7 "), -7);
    EXPECT_EQ(ParseInteger("9223372036854775807"), std::numeric_limits<long long>::max());
    EXPECT_EQ(ParseInteger("-9223372036854775808"), std::numeric_limits<long long>::min());
    // Beyond the range is malformed; the last two once wrapped round to 1553255926290448384 and 1.
    for (const char* bad : {"", "abc", "1e400", "9223372036854775808", "-9223372036854775809", "20000000000000000000",
                            "18446744073709551617"}) {
        EXPECT_EQ(ParseInteger(bad), std::nullopt) << bad;
    }
    EXPECT_EQ(ParseIntegerOr("x", -1), -1);
}

TEST(TextTest, Utf8AndUtf16AndFileTextsConvertWithoutLoss) {
    const std::string text = "Ä € 日本 \xF0\x9F\x98\x80";
    EXPECT_EQ(Utf8ToUtf16(text).size(), 9u);  // the emoji takes a surrogate pair
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // an encoded surrogate
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("a\xFF")), "a\xEF\xBF\xBD");
    EXPECT_EQ(DecodeTextFile(std::string("\xFF\xFE\x41\0\xC4\0", 6)), "AÄ");
    EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBFZ"), "Z");
    EXPECT_EQ(DecodeTextFile("caf\xE9 \x80"), "café €");
    EXPECT_EQ(DecodeTextFile("café"), "café");
}

TEST(TokenizerTest, SplitsAtTheSeparatorAndGivesEmptyAfterTheLast) {
    Tokenizer tokens;
    tokens.Init("a;b;;c");
    EXPECT_EQ(tokens.nextToken(), "a;b;;c");  // blank is the separator until another is set
    tokens.setSeparator(";");
    for (const char* token : {"a", "b", "", "c"}) {
        EXPECT_EQ(tokens.nextToken(), token);
    }
    EXPECT_FALSE(tokens.HasMore());
    EXPECT_EQ(tokens.nextToken(), "");
}

}  // namespace
}  // namespace ovp
