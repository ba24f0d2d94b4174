#include "net/url.h"

#include <gtest/gtest.h>

namespace ovp {
namespace {

TEST(UrlTest, QueryValuesKeepNamesAndEncodeWhatWouldBreakTheQuery) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"alice", "alice"},
        {"Alice.Smith-2_x~y@example.com", "Alice.Smith-2_x~y@example.com"},
        {"a b", "a%20b"},
        {"a&lang=en#top", "a%26lang%3Den%23top"},
        {"100%+?/", "100%25%2B%3F%2F"},
        {"tab\tnl\n\x7f", "tab%09nl%0A%7F"},
        {"J\xC3\xBCrgen \xE6\x9D\xB1", "J%C3%BCrgen%20%E6%9D%B1"},  // UTF-8 bytes of ü and a CJK sign
        {"", ""},
    };
    for (const auto& [value, encoded] : cases) {
        EXPECT_EQ(PercentEncodeQueryValue(value), encoded) << value;
    }
}

TEST(UrlTest, OnlyHttpAndHttpsAddressesAreWebLinks) {
    for (const std::string_view link : {"http://example.com/a", "HTTPS://example.com/?u=", "hTTp://x"}) {
        EXPECT_TRUE(IsWebLink(link)) << link;
    }
    for (const std::string_view link : {"", "alice", "upgrade.cmd", "https:/example.com", " https://example.com",
                                        "file:///C:/Windows/calc.exe", "ftp://example.com", "C:\\https://x"}) {
        EXPECT_FALSE(IsWebLink(link)) << link;
    }
}

}  // namespace
}  // namespace ovp
