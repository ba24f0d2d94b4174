#include "win32/http_win.h"

#include <gtest/gtest.h>

#include <string>

#include "../https/loopback_https_win.h"

namespace ovp::win {
namespace {

class Win32HttpTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (!test::LoopbackHttpsFolder().empty()) {
            authority_ = new test::TrustedTestAuthority();
        }
    }
    static void TearDownTestSuite() {
        delete authority_;
        authority_ = nullptr;
    }
    void SetUp() override {
        if (authority_ == nullptr) {
            GTEST_SKIP() << "runs with the loopback HTTPS servers (tests/https/with-loopback-server)";
        }
        ASSERT_TRUE(authority_->Trusted());
        session_.Reset(http_.OpenSession(HttpSessionOptions{"ovp test", HttpAccess::Direct, ""}));
        ASSERT_TRUE(session_);
    }
    std::string ReadAll(HttpHandle request) {
        std::string text;
        char buffer[4096];
        while (const auto count = http_.Read(request, buffer, sizeof(buffer))) {
            if (*count == 0) {
                break;
            }
            text.append(buffer, *count);
        }
        return text;
    }

    static test::TrustedTestAuthority* authority_;
    Win32Http http_;
    ScopedHttpHandle session_{http_};
};

test::TrustedTestAuthority* Win32HttpTest::authority_ = nullptr;

TEST_F(Win32HttpTest, APostArrivesWithItsHeadersAndEveryByteOfItsBody) {
    ScopedHttpHandle connection(http_, http_.Connect(session_.Get(), "localhost", test::kTrustedHttpsPort, "", ""));
    HttpRequestFlags flags;
    flags.secure = true;
    flags.reload = true;
    ScopedHttpHandle request(http_,
                             http_.OpenRequest(connection.Get(), "POST", "/cgi-bin/Notify_unicode", "HTTP/1.0", flags));
    ASSERT_TRUE(request);
    ASSERT_TRUE(http_.AddHeaders(request.Get(), "Content-Type: application/x-www-form-urlencoded\r\n"));
    ASSERT_TRUE(http_.SetTimeouts(request.Get(), 45000));
    // Two bytes of a code page's characters: the length sent is the bytes', not the characters'.
    const std::string body = "EMAIL=a\r\n&CONTENT=\xE9\xE9";
    ASSERT_TRUE(http_.Send(request.Get(), body)) << http_.LastError();
    EXPECT_EQ(http_.StatusCode(request.Get()), 200u);
    EXPECT_EQ(ReadAll(request.Get()), "OK");

    const auto recorded = test::RecordedRequests("trusted.log");
    ASSERT_FALSE(recorded.empty());
    const std::string& last = recorded.back();
    EXPECT_NE(last.find("\"method\": \"POST\", \"path\": \"/cgi-bin/Notify_unicode\""), std::string::npos) << last;
    EXPECT_NE(last.find("\"Content-Type\": \"application/x-www-form-urlencoded\""), std::string::npos) << last;
    EXPECT_NE(last.find("\"body\": \"EMAIL=a\\r\\n&CONTENT=\\u00e9\\u00e9\""), std::string::npos) << last;
}

TEST_F(Win32HttpTest, ARedirectComesBackInsteadOfBeingFollowed) {
    HttpRequestFlags flags;
    flags.reload = true;
    ScopedHttpHandle page(http_, http_.OpenUrl(session_.Get(), "https://localhost:11900/redirect", flags));
    ASSERT_TRUE(page) << http_.LastError();
    EXPECT_EQ(http_.StatusCode(page.Get()), 302u);
    for (const std::string& request : test::RecordedRequests("trusted.log")) {
        EXPECT_EQ(request.find("/landed"), std::string::npos);
    }
}

TEST_F(Win32HttpTest, AnUntrustedOrWrongNameCertificateFailsBeforeAnyRequest) {
    struct Case {
        const char* url;
        const char* log;
    };
    const Case cases[] = {
        {"https://localhost:11901/echo?body=leak", "untrusted.log"},
        {"https://127.0.0.1:11900/echo?body=leak", "trusted.log"},  // the certificate names localhost
    };
    for (const Case& c : cases) {
        ScopedHttpHandle page(http_, http_.OpenUrl(session_.Get(), c.url, HttpRequestFlags{}));
        EXPECT_FALSE(page) << c.url;
        const std::uint32_t error = http_.LastError();
        EXPECT_TRUE(error == kHttpErrorSecureFailure || error == kHttpErrorSecureChannel ||
                    error == kHttpErrorCertificateName)
            << c.url << " " << error;
        for (const std::string& request : test::RecordedRequests(c.log)) {
            EXPECT_EQ(request.find("leak"), std::string::npos) << c.url;
        }
    }
}

}  // namespace
}  // namespace ovp::win
