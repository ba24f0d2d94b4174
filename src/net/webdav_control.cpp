#include "net/webdav_control.h"

#include <array>

#include "base/resume_next.h"
#include "base/text.h"
#include "contract/configuration.h"
#include "net/base64.h"
#include "net/http_error_text.h"
#include "net/webdav_status_text.h"

namespace ovp {

namespace c = contract;

namespace {

constexpr std::string_view kHttpVersion = "HTTP/1.1";
constexpr std::string_view kDummyVerb = "T";
constexpr std::string_view kDummyResource = "Dummy";
constexpr int kDummyTries = 3;
constexpr std::uint32_t kStatusOk = 200;
constexpr std::uint32_t kPatchFailurePauseMs = 2000;
constexpr std::string_view kOn = "1";

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// A user name becomes a folder of the request path: nothing that ends or leaves that folder.
bool IsSafeUserSegment(std::string_view user) {
    if (user.empty() || user == "." || user == "..") {
        return false;
    }
    for (const char ch : user) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 32 || byte == 127 || ch == '/' || ch == '\\' || ch == '?' || ch == '#' || ch == '%') {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string EscapeResource(std::string_view resource) {
    std::string escaped;
    escaped.reserve(resource.size());
    for (const char ch : resource) {
        if (ch == '#') {
            escaped += "%23";
        } else if (ch == '%') {
            escaped += "%25";
        } else {
            escaped += ch;
        }
    }
    return escaped;
}

WebDavControl::WebDavControl(AppContext& context)
    : context_(context),
      http_(context.ports.http),
      session_(context.ports.http),
      connection_(context.ports.http),
      request_(context.ports.http) {}

WebDavControl::~WebDavControl() {
    // The chain's order: the request before its connection, the connection before its session.
    request_.Reset();
    connection_.Reset();
    session_.Reset();
}

int WebDavControl::hInternetOpen(std::string_view agent,
                                 HttpAccess access,
                                 std::string_view proxy,
                                 std::string_view proxyUser,
                                 std::string_view proxyPassword) {
    request_.Reset();
    connection_.Reset();
    session_.Reset();
    proxyUser_ = std::string(proxyUser);
    proxyPassword_ = std::string(proxyPassword);
    ResumeNext([&] {
        const std::string dialUp = Trim(context_.transfer.Trf_ReadUserProfile(c::kIspName));
        if (Trim(context_.transfer.Trf_ReadUserProfile(c::kAutoConnect)) == kOn && !dialUp.empty()) {
            http_.DialUp(dialUp);
        }
    });
    HttpSessionOptions options;
    options.agent = std::string(agent);
    options.access = access;
    options.proxy = std::string(proxy);
    session_.Reset(http_.OpenSession(options));
    return session_ ? 0 : Fail("OPEN");
}

int WebDavControl::OpenConnection(std::string_view server,
                                  std::uint16_t port,
                                  std::string_view user,
                                  std::string_view password) {
    request_.Reset();
    connection_.Reset();
    if (!IsSafeUserSegment(user) || HasLineBreak(password)) {
        authorization_.clear();
        resourceRoot_.clear();
        errorNumber_ = 0;
        errorText_ = "The user name or password cannot be sent.";
        return kWebDavFailed;
    }
    ICodePage& codePage = context_.ports.codePage;
    cBase64 base64;
    authorization_ = Trim(base64.encode(codePage.Utf8ToAnsi(user).bytes + ":" + codePage.Utf8ToAnsi(password).bytes));
    resourceRoot_ = "/users/" + std::string(user) + "/Files/";
    if (!session_) {
        return Fail("InternetConnect");
    }
    connection_.Reset(http_.Connect(session_.Get(), server, port, user, password));
    return connection_ ? 0 : Fail("InternetConnect");
}

void WebDavControl::CloseConnection() {
    request_.Reset();
    connection_.Reset();
}

bool WebDavControl::AddExtraHeader(std::string_view name, std::string_view value) {
    if (name.empty() || HasLineBreak(name) || HasLineBreak(value) || name.find(':') != std::string_view::npos) {
        return false;
    }
    extraHeaders_ += std::string(name) + ": " + std::string(value) + "\r\n";
    return true;
}

int WebDavControl::HttpProcessCalls(std::string_view verb,
                                    std::string_view resource,
                                    bool noSend,
                                    std::uint32_t& statusCode) {
    context_.trace.Info("Entered HTTPCall with action: " + std::string(verb) + " & resource: " + std::string(resource));
    request_.Reset();
    statusCode = 0;
    if (!connection_ || HasLineBreak(verb)) {
        return Fail(verb);
    }
    HttpRequestFlags flags;
    flags.secure = true;
    request_.Reset(http_.OpenRequest(connection_.Get(), verb, EscapeResource(resource), kHttpVersion, flags));
    if (!request_) {
        return Fail(verb);
    }
    const std::string headers = Trim("Authorization: Basic " + authorization_ + "\r\n" + extraHeaders_);
    if (!http_.AddHeaders(request_.Get(), headers) || !http_.SetTimeouts(request_.Get(), kWebDavTimeoutMs)) {
        return Fail(verb);
    }
    if (!proxyUser_.empty() && !http_.SetProxyCredentials(request_.Get(), proxyUser_, proxyPassword_)) {
        return Fail(verb);
    }
    if (noSend) {
        return 0;
    }
    if (!http_.Send(request_.Get(), requestBody_)) {
        return Fail(verb);
    }
    const auto status = http_.StatusCode(request_.Get());
    if (!status) {
        return Fail(verb);
    }
    statusCode = *status;
    context_.trace.Info("Exit from HttpProcessCalls with status code : " + std::to_string(statusCode));
    return 0;
}

std::string WebDavControl::ReadAnswer(std::size_t maxBytes) {
    std::string answer;
    std::array<char, 4096> buffer{};
    while (request_ && answer.size() < maxBytes) {
        const auto count = http_.Read(request_.Get(), buffer.data(), std::min(buffer.size(), maxBytes - answer.size()));
        if (!count || *count == 0) {
            break;
        }
        answer.append(buffer.data(), *count);
    }
    return answer;
}

int WebDavControl::Fail(std::string_view verb) {
    errorNumber_ = http_.LastError();
    dav_oper_stat_codes(verb, errorNumber_);
    return kWebDavFailed;
}

std::string WebDavControl::ErrorOut(std::uint32_t number, std::string_view /*source*/) {
    context_.trace.Info("Enter ErrorOut " + std::to_string(number));
    const std::string text = IsHttpClientError(number) ? HttpErrorText(http_, number) : std::string();
    context_.trace.Info("Exit ErrorOut " + std::to_string(number));
    return text;
}

std::string WebDavControl::dav_oper_stat_codes(std::string_view verb, std::uint32_t number) {
    std::string text = FileErrorText(number);
    if (text.empty() && IsHttpClientError(number)) {
        text = ErrorOut(number, verb);
    }
    if (text.empty()) {
        context_.trace.Info("Enter dav_oper_stat_codes ");
        text = WebDavStatusText(verb, number, DisplayName(context_.settings));
        context_.trace.Info("Exit dav_oper_stat_codes ");
    }
    errorText_ = text;
    return text;
}

void WebDavControl::DummyCall() {
    std::uint32_t status = 0;
    for (int attempt = 0; attempt < kDummyTries; ++attempt) {
        if (HttpProcessCalls(kDummyVerb, resourceRoot_ + std::string(kDummyResource), false, status) != 0 ||
            status != kStatusOk) {
            break;
        }
    }
    request_.Reset();
}

std::string WebDavControl::VersionPageUrl() const {
    return "https://" + context_.settings.endpoints.webDavHost + std::string(kVersionPagePath);
}

bool WebDavControl::FetchVersionPage() {
    HttpRequestFlags flags;
    flags.reload = true;
    flags.noCacheWrite = true;
    flags.secure = true;
    ScopedHttpHandle page(http_, session_ ? http_.OpenUrl(session_.Get(), VersionPageUrl(), flags) : 0);
    if (!page) {
        return false;
    }
    const auto status = http_.StatusCode(page.Get());
    return status && *status >= 200 && *status < 300;
}

void WebDavControl::DummyCallFireWall() {
    const bool viaProxy = Trim(context_.transfer.Trf_ReadProxyProfile(c::kProxySetFlag)) == kOn;
    const std::string proxy = viaProxy ? Trim(context_.transfer.Trf_ReadProxyProfile(c::kProxyName)) + ":" +
                                             Trim(context_.transfer.Trf_ReadProxyProfile(c::kProxyPort))
                                       : std::string();
    if (hInternetOpen(kFirewallProbeAgent, viaProxy ? HttpAccess::Proxy : HttpAccess::Direct, proxy, "", "") != 0 ||
        !FetchVersionPage()) {
        context_.trace.Error("An error has OCCURRED IN DummyCallFireWall FUNCTION");
    }
}

int WebDavControl::getPatchStatus() {
    if (FetchVersionPage()) {
        return 0;
    }
    Fail("InternetConnect");
    context_.ports.clock.Sleep(kPatchFailurePauseMs);
    return kWebDavFailed;
}

}  // namespace ovp
