#include "base/ini_text.h"

#include <gtest/gtest.h>

namespace ovp {
namespace {

using namespace std::string_view_literals;

// Under Wine the same rules are held against the system's own reader; here they are pinned for the
// core's build.
TEST(IniTextTest, ReadsAsThePrivateProfileReaderDoes) {
    const struct {
        std::string_view bytes, section, key, value;
    } cases[] = {
        {"[ProductInfo]\r\n  Name \t=\t Tallux  \r\n", "productinfo", "NAME", "Tallux"},
        {"[ Web ]\nLink=x\n", "WEB", "link", "x"},
        {"[S]\ndouble=\"  padded  \"\n", "S", "double", "  padded  "},
        {"[S]\nk='a'\n", "S", "k", "a"},
        {"[S]\nk=\"a'\n", "S", "k", "\"a'"},
        {"[S]\nk=\"\"b\"\"\n", "S", "k", "\"b\""},
        {"[S]\nk=\"\n", "S", "k", "\""},
        {"[S]\nk=a \"b\" c\n", "S", "k", "a \"b\" c"},
        {"orphan=x\n[S]\n", "S", "orphan", ""},
        {"[S]\n   ;k=commented\n", "S", ";k", ""},
        {"[S]\nno equals\nno equals=hidden\n", "S", "no equals", ""},
        {"[S]\nurl=https://www.example.com/a;b?c=d\n", "S", "url", "https://www.example.com/a;b?c=d"},
        {"[S]\n[broken\nstray=x\n", "S", "stray", ""},
        {"[S]\nkey=first\nKEY=second\n[o]\n[s]\nkey=third\n", "S", "key", "first"},
        {"[S]\nkey=first\n[s]\nlast=end", "S", "last", ""},
        {"\xEF\xBB\xBF[S]\nk=v\n", "S", "k", "v"},
        {"\xFF\xFE[\0S\0]\0\n\0k\0=\0\xC4\0"sv, "s", "k", "Ä"},
        {"[S]\r\nk=caf\xE9\r\n", "S", "k", "café"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IniText::FromFileBytes(c.bytes).Get(c.section, c.key), c.value) << c.bytes;
    }
    const IniText ini = IniText::Parse("[S]\nempty=\"\"\nlong=" + std::string(5000, 'v') + "\n");
    EXPECT_TRUE(ini.Has("S", "empty") && ini.HasSection("s") && !ini.Has("S", "missing"));
    EXPECT_EQ(ini.Get("S", "long"), std::string(5000, 'v'));
}

TEST(IniTextTest, ValuesAreStoredSoThatTheyReadBackExactlyAndQuotedOnlyWhenNeeded) {
    // value, stored form
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"plain", "plain"},     {"a \"b\" c", "a \"b\" c"},  {"\"a'", "\"a'"},
        {"\"a\"", "\"\"a\"\""}, {"'a'", "\"'a'\""},          {"\"", "\"\"\""},
        {" a", "\" a\""},       {"a\t", "\"a\t\""},          {"", ""},
        {"a\r\nb=c", "a"},      {"\"a\"\n[S]", "\"\"a\"\""},
    };
    for (const auto& [value, stored] : cases) {
        EXPECT_EQ(ProfileValueToStore(value), stored) << value;
        const std::string_view firstLine = value.substr(0, value.find_first_of("\r\n"));
        EXPECT_EQ(ProfileValueAsRead(ProfileValueToStore(value)), firstLine) << value;
    }
}

}  // namespace
}  // namespace ovp
