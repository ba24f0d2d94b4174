#include "net/http_functions.h"

#include <array>

#include "base/text.h"
#include "contract/trace.h"
#include "net/http_error_text.h"
#include "net/url.h"

namespace ovp {

namespace {

constexpr std::string_view kPostAgent = "http generic";
constexpr std::string_view kGetAgent = "HttpGet";
constexpr std::string_view kPostVersion = "HTTP/1.0";
constexpr std::string_view kFormHeader = "Content-Type: application/x-www-form-urlencoded\r\n";
// What is kept of the service's answer to a post: only its status matters.
constexpr std::size_t kPostAnswerMaxBytes = 64 * 1024;

bool IsSuccess(std::optional<std::uint32_t> status) {
    return status && *status >= 200 && *status < 300;
}

bool StaysAsItIs(char32_t ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
}

void AppendPercent(std::string& out, unsigned value) {
    constexpr std::string_view kHex = "0123456789ABCDEF";
    out += '%';
    out += kHex[(value >> 4) & 0x0F];
    out += kHex[value & 0x0F];
}

// Reads what is left of the answer, up to maxBytes, between window events.
std::string ReadAnswer(IHttp& http, IClock& clock, HttpHandle request, std::size_t maxBytes, bool pump) {
    std::string answer;
    std::array<char, kHttpGetPieceBytes> buffer{};
    while (answer.size() < maxBytes) {
        const auto count = http.Read(request, buffer.data(), buffer.size());
        if (!count || *count == 0) {
            break;
        }
        answer.append(buffer.data(), std::min(*count, maxBytes - answer.size()));
        if (pump) {
            clock.WaitPumping(0);
        }
    }
    return answer;
}

}  // namespace

std::string URLEncode(std::string_view text) {
    std::string encoded;
    for (const char32_t ch : Utf8ToCodePoints(Trim(text))) {
        if (StaysAsItIs(ch)) {
            encoded += static_cast<char>(ch);
        } else if (ch <= 0xFF) {
            AppendPercent(encoded, static_cast<unsigned>(ch));
        } else {
            for (const char byte : CodePointsToUtf8(std::u32string(1, ch))) {
                AppendPercent(encoded, static_cast<unsigned char>(byte));
            }
        }
    }
    return encoded;
}

void HttpFunctions::AddField(std::string_view name, std::string_view value, bool raw) {
    if (body_.empty()) {
        body_ = std::string(name) + "=" + URLEncode(value);
        return;
    }
    body_ += "\r\n&" + std::string(name) + "=" + (raw ? std::string(value) : URLEncode(value));
}

bool HttpFunctions::SendEmail(std::string_view email,
                              std::string_view subject,
                              std::string_view content,
                              std::string_view userAddress) {
    // Untagged dated lines, as the service's support reads them.
    const auto trace = [&](std::string_view text) {
        context_.trace.WriteTrace(TraceLine(context_.ports.clock, "", text));
    };
    trace("SendEmail : start");
    body_.clear();
    AddField("EMAIL", email, false);
    AddField("SUBJECT", subject, false);
    AddField("CONTENT", content, true);
    trace("SendEmail : starting");
    const std::string host = context_.settings.endpoints.notificationHost;
    bool sent = false;
    if (Trim(userAddress).empty()) {
        trace("SendEmail : calling");
        sent = Post(host, kNotifyPath, body_);
    } else {
        AddField("user_email", userAddress, false);
        trace("SendEmail : calling 2");
        sent = Post(host, kNotifyUnicodePath, body_);
    }
    body_.clear();
    trace("Exit SendEmail");
    return sent;
}

bool HttpFunctions::Post(std::string_view host, std::string_view path, std::string_view body) {
    IHttp& http = context_.ports.http;
    HttpSessionOptions options;
    options.agent = std::string(kPostAgent);
    ScopedHttpHandle session(http, http.OpenSession(options));
    ScopedHttpHandle connection(http, session ? http.Connect(session.Get(), host, kNotificationPort, "", "") : 0);
    HttpRequestFlags flags;
    flags.reload = true;
    flags.secure = true;
    ScopedHttpHandle request(http,
                             connection ? http.OpenRequest(connection.Get(), "POST", path, kPostVersion, flags) : 0);
    const bool sent = request && http.AddHeaders(request.Get(), kFormHeader) &&
                      http.SetTimeouts(request.Get(), kHttpTimeoutMs) &&
                      http.Send(request.Get(), context_.ports.codePage.Utf8ToAnsi(body).bytes);
    if (!sent) {
        const std::uint32_t number = http.LastError();
        dav_.dav_seterrorstring(HttpErrorText(http, number == 0 ? kHttpErrorCannotConnect : number));
        return false;
    }
    const auto status = http.StatusCode(request.Get());
    ReadAnswer(http, context_.ports.clock, request.Get(), kPostAnswerMaxBytes, false);
    if (!IsSuccess(status)) {
        dav_.dav_oper_stat_codes("POST", status.value_or(0));
        return false;
    }
    return true;
}

std::string HttpFunctions::HttpGet(std::string_view url) {
    if (!IsWebLink(url)) {
        return {};
    }
    IHttp& http = context_.ports.http;
    HttpSessionOptions options;
    options.agent = std::string(kGetAgent);
    ScopedHttpHandle session(http, http.OpenSession(options));
    if (!session || !http.SetTimeouts(session.Get(), kHttpTimeoutMs)) {
        return {};
    }
    HttpRequestFlags flags;
    flags.reload = true;
    ScopedHttpHandle page(http, http.OpenUrl(session.Get(), url, flags));
    if (!page || !IsSuccess(http.StatusCode(page.Get()))) {
        return {};
    }
    return ReadAnswer(http, context_.ports.clock, page.Get(), kHttpGetMaxBytes, true);
}

}  // namespace ovp
