#include "base/ini_text.h"

#include <gtest/gtest.h>

namespace ovp {
namespace {

TEST(IniTextTest, SectionsAndKeysIgnoreCaseAndBlanksAroundThem) {
    const IniText ini = IniText::Parse(
        "[ProductInfo]\r\n"
        "  ProductName \t=\t Tallux Backup  \r\n"
        "[ Web ]\n"
        "Link=x\n");
    EXPECT_EQ(ini.Get("productinfo", "PRODUCTNAME"), "Tallux Backup");
    EXPECT_EQ(ini.Get("WEB", "link"), "x");
    EXPECT_TRUE(ini.HasSection("web"));
    EXPECT_FALSE(ini.Has("ProductInfo", "Missing"));
    EXPECT_EQ(ini.Get("Nowhere", "ProductName"), "");
}

TEST(IniTextTest, OneMatchingPairOfQuotesIsRemoved) {
    const IniText ini = IniText::Parse(
        "[S]\n"
        "double=\"  padded  \"\n"
        "single='a'\n"
        "mixed=\"a'\n"
        "twice=\"\"b\"\"\n"
        "lone=\"\n"
        "inner=a \"b\" c\n"
        "empty=\"\"\n");
    EXPECT_EQ(ini.Get("S", "double"), "  padded  ");
    EXPECT_EQ(ini.Get("S", "single"), "a");
    EXPECT_EQ(ini.Get("S", "mixed"), "\"a'");
    EXPECT_EQ(ini.Get("S", "twice"), "\"b\"");
    EXPECT_EQ(ini.Get("S", "lone"), "\"");
    EXPECT_EQ(ini.Get("S", "inner"), "a \"b\" c");
    EXPECT_TRUE(ini.Has("S", "empty"));
    EXPECT_EQ(ini.Get("S", "empty"), "");
}

TEST(IniTextTest, ValuesAreStoredSoThatTheyReadBackExactlyAndQuotedOnlyWhenNeeded) {
    // value, stored form
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"plain", "plain"},
        {"a \"b\" c", "a \"b\" c"},
        {"\"a'", "\"a'"},
        {"a\"", "a\""},
        {"\"a\"", "\"\"a\"\""},
        {"'a'", "\"'a'\""},
        {"''", "\"''\""},
        {"\"", "\"\"\""},
        {" a", "\" a\""},
        {"a\t", "\"a\t\""},
        {"", ""},
        {"a\r\nb=c", "a"},
        {"\"a\"\n[S]", "\"\"a\"\""},
    };
    for (const auto& [value, stored] : cases) {
        EXPECT_EQ(ProfileValueToStore(value), stored) << value;
        const std::string_view firstLine = value.substr(0, value.find_first_of("\r\n"));
        EXPECT_EQ(ProfileValueAsRead(ProfileValueToStore(value)), firstLine) << value;
    }
}

TEST(IniTextTest, CommentsAndTextOutsideSectionsAreIgnoredAndALineWithoutEqualsIsAnEmptyKey) {
    const IniText ini = IniText::Parse(
        "orphan=before any section\n"
        "[S]\n"
        "; key=commented\n"
        "   ;indented=comment too\n"
        "no equals sign here\n"
        "no equals sign here=hidden by the line above\n"
        "=no key\n"
        "url=https://www.example.com/a;b?c=d\n"
        "[broken\n"
        "stray=after a broken header\n");
    EXPECT_EQ(ini.Get("S", "orphan"), "");
    EXPECT_FALSE(ini.Has("S", "key"));
    EXPECT_FALSE(ini.Has("S", ";indented"));
    EXPECT_TRUE(ini.Has("S", "no equals sign here"));
    EXPECT_EQ(ini.Get("S", "no equals sign here"), "");
    // Only a whole line can be a comment; '=' after the first belongs to the value.
    EXPECT_EQ(ini.Get("S", "url"), "https://www.example.com/a;b?c=d");
    // Keys after a header that does not close must not land in the section before it.
    EXPECT_FALSE(ini.Has("S", "stray"));
}

TEST(IniTextTest, FirstOccurrenceOfKeyAndSectionWinsAndValuesAreKeptWhole) {
    const IniText ini = IniText::Parse("[S]\nkey=first\nKEY=second\rlong=" + std::string(5000, 'v') +
                                       "\n"
                                       "[other]\nkey=elsewhere\n"
                                       "[s]\nkey=third\nlast=end");  // no line end
    EXPECT_EQ(ini.Get("S", "key"), "first");
    EXPECT_EQ(ini.Get("S", "long"), std::string(5000, 'v'));
    EXPECT_FALSE(ini.Has("S", "last"));
    EXPECT_EQ(ini.Get("other", "key"), "elsewhere");
}

TEST(IniTextTest, ByteOrderMarksAndLegacyEncodingsDoNotHideTheFirstSection) {
    EXPECT_EQ(IniText::Parse("\xEF\xBB\xBF[S]\nk=v\n").Get("S", "k"), "v");
    const std::string utf16("\xFF\xFE[\0S\0]\0\n\0k\0=\0\xC4\0", 16);
    EXPECT_EQ(IniText::FromFileBytes(utf16).Get("s", "k"), "Ä");
    EXPECT_EQ(IniText::FromFileBytes("[S]\r\nk=caf\xE9\r\n").Get("S", "k"), "café");
}

}  // namespace
}  // namespace ovp
