#include "base/ini_text.h"

#include <gtest/gtest.h>

namespace ovp {
namespace {

// Most reading rules are held against the system's own reader under Wine (ProfileSnapshotWinTest);
// these rows are those its table has no file for.
TEST(IniTextTest, ReadsAsThePrivateProfileReaderDoes) {
    const struct {
        std::string_view bytes, section, key, value;
    } cases[] = {
        {"[S]\nk=\"a'\n", "S", "k", "\"a'"},           {"[S]\nk=\"\"b\"\"\n", "S", "k", "\"b\""},
        {"[S]\nk=a \"b\" c\n", "S", "k", "a \"b\" c"}, {"[S]\nkey=first\n[s]\nlast=end", "S", "last", ""},
        {"\xEF\xBB\xBF[S]\nk=v\n", "S", "k", "v"},
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
