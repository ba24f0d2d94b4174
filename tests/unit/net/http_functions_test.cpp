#include "net/http_functions.h"

#include <gtest/gtest.h>

#include "../commands/command_test_env.h"

namespace ovp {
namespace {

using test::FakeHttpAnswer;

TEST(UrlEncodeTest, FormValuesAreTrimmedAndPercentEncoded) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {" a b ", "a%20b"},
        {"x@y.com", "x%40y%2Ecom"},
        {"a&b=c+%", "a%26b%3Dc%2B%25"},
        {"\t\x01", "%09%01"},
        {"\xC3\xA9", "%E9"},            // up to code 255: the code itself
        {"\xE2\x82\xAC", "%E2%82%AC"},  // above: the UTF-8 bytes
        {"\xF0\x9F\x98\x80", "%F0%9F%98%80"},
        {"   ", ""},
    };
    for (const auto& [text, encoded] : cases) {
        EXPECT_EQ(URLEncode(text), encoded) << text;
    }
}

class HttpFunctionsTest : public ::testing::Test {
  protected:
    test::FakeHttp& Http() { return fx_.fx.http; }
    const test::FakeHttpRequest& Sent() { return Http().requests.at(0); }

    test::CommandFixture fx_;
    WebDavControl dav_{fx_.Context()};
    HttpFunctions functions_{fx_.Context(), dav_};
};

TEST_F(HttpFunctionsTest, TheNotificationGoesToThePathOfItsUserAddress) {
    struct Case {
        std::string_view userAddress;
        std::string_view path;
        std::string_view tail;
        std::string_view traced;
    };
    const Case cases[] = {
        {"   ", "/cgi-bin/Notify", "", "SendEmail : calling|"},
        {" me@example.com ", "/cgi-bin/Notify_unicode", "\r\n&user_email=me%40example%2Ecom", "SendEmail : calling 2|"},
    };
    for (const Case& c : cases) {
        Http().requests.clear();
        EXPECT_TRUE(functions_.SendEmail("support@example.com", " Grp : user feedback ", "a%20b\nc&d", c.userAddress));
        EXPECT_EQ(Sent().body,
                  "EMAIL=support%40example%2Ecom\r\n&SUBJECT=Grp%20%3A%20user%20feedback\r\n"
                  "&CONTENT=a%20b\nc&d" +
                      std::string(c.tail));
        const test::FakeHttpRequest& s = Sent();
        EXPECT_EQ(std::tuple(s.object, s.host, s.port, s.verb, s.version, s.flags.secure && s.flags.reload, s.headers,
                             s.timeoutMs),
                  std::tuple(c.path, "notify.example.com", 11900, "POST", "HTTP/1.0", true,
                             "Content-Type: application/x-www-form-urlencoded\r\n", 45000u));
        EXPECT_TRUE(functions_.Body().empty());
        EXPECT_NE(fx_.Information().find(c.traced), std::string::npos) << fx_.Information();
    }
    EXPECT_EQ(Http().OpenHandles(), 0u);
}

TEST_F(HttpFunctionsTest, OnlyA2xxAnswerIsSuccess) {
    struct Case {
        FakeHttpAnswer answer;
        bool sent;
        std::string_view error;
    };
    const Case cases[] = {
        {FakeHttpAnswer::Status(204), true, ""},
        {FakeHttpAnswer::Status(500), false, "Unknown Error has occured. : 500"},
        {FakeHttpAnswer::Status(302), false, "Unknown Error has occured. : 302"},
        {FakeHttpAnswer::SendFailure(0), false, "Attempt to connect to the server failed."},
        {FakeHttpAnswer::SendFailure(12002), false, "The request has timed out."},
    };
    for (const Case& c : cases) {
        dav_.dav_seterrorstring("");
        Http().answers = {c.answer};
        EXPECT_EQ(functions_.SendEmail("s@example.com", "s", "c", "u@example.com"), c.sent) << c.error;
        EXPECT_EQ(dav_.dav_geterrorstring(), c.error);
    }
}

TEST_F(HttpFunctionsTest, AGetReadsInPiecesAndKeepsOnlyA2xxAnswerWithinItsCap) {
    Http().answers = {FakeHttpAnswer::Status(200, std::string(4096, 'a'))};
    EXPECT_EQ(functions_.HttpGet("https://www.example.com/v?1").size(), 4096u);
    EXPECT_EQ(Http().reads, (std::vector<std::size_t>{4096, 4096}));
    const test::FakeHttpRequest& get = Http().requests[0];
    EXPECT_EQ(std::tuple(get.agent, get.timeoutMs, get.flags.reload), std::tuple("HttpGet", 45000u, true));

    Http().answers = {FakeHttpAnswer::Status(200, std::string(3 * 1024 * 1024, 'b'))};
    EXPECT_EQ(functions_.HttpGet("https://www.example.com/v").size(), kHttpGetMaxBytes);
    Http().answers = {FakeHttpAnswer::Status(404, "Y")};
    EXPECT_EQ(functions_.HttpGet("https://www.example.com/v"), "");
    const std::size_t asked = Http().requests.size();
    EXPECT_EQ(functions_.HttpGet("upgrade.cmd"), "");
    EXPECT_EQ(Http().requests.size(), asked);
    EXPECT_EQ(Http().OpenHandles(), 0u);
}

}  // namespace
}  // namespace ovp
