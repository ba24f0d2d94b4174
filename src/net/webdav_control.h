#pragma once
// `WebDavControl`: requests to the service's WebDAV host under the user's file area, with Basic
// credentials, and readable texts for what failed. One instance lives as long as the monitor;
// the notification post borrows its error text.
//
// Every request goes over TLS with the certificate validated in full, and none follows a
// redirect: the credentials go to the service's host and nowhere else. A user name, password or
// extra header that would end a header line or leave the user's file area is refused.

#include <cstdint>
#include <string>
#include <string_view>

#include "context/app_context.h"
#include "platform/http.h"

namespace ovp {

// The WebDAV requests' time-outs (connect, send, receive).
inline constexpr std::uint32_t kWebDavTimeoutMs = 45000;
// The address of the version page on the WebDAV host.
inline constexpr std::string_view kVersionPagePath = "/cgi-bin/ovwinversion";
inline constexpr std::string_view kFirewallProbeAgent = "OVWin WebDAV Client";
inline constexpr int kWebDavFailed = -1;

class WebDavControl {
  public:
    explicit WebDavControl(AppContext& context);
    ~WebDavControl();
    WebDavControl(const WebDavControl&) = delete;
    WebDavControl& operator=(const WebDavControl&) = delete;

    // Opens the Internet session (dialling first when the user wants it), closing an older one.
    int hInternetOpen(std::string_view agent,
                      HttpAccess access,
                      std::string_view proxy,
                      std::string_view proxyUser,
                      std::string_view proxyPassword);
    // Connects to the host for the user, closing an older connection; the user's file area
    // becomes "/users/" + user + "/Files/".
    int OpenConnection(std::string_view server, std::uint16_t port, std::string_view user, std::string_view password);
    void CloseConnection();

    // A header sent with every request after the authorization; false (and nothing kept) when
    // the name or value holds a line break.
    bool AddExtraHeader(std::string_view name, std::string_view value);
    void ClearExtraHeaders() { extraHeaders_.clear(); }
    void SetRequestBody(std::string body) { requestBody_ = std::move(body); }

    // One request; the status code of the answer goes to statusCode. 0, or -1 on failure with the
    // failure's number and text kept.
    int HttpProcessCalls(std::string_view verb, std::string_view resource, bool noSend, std::uint32_t& statusCode);
    // Up to maxBytes of the last request's answer.
    std::string ReadAnswer(std::size_t maxBytes);

    // The text for a failed operation of the verb with the number (a file error, an HTTP client
    // failure or an HTTP status); kept as the error text.
    std::string dav_oper_stat_codes(std::string_view verb, std::uint32_t number);
    // The text of the HTTP client's failure number; "" for other numbers.
    std::string ErrorOut(std::uint32_t number, std::string_view source);

    const std::string& dav_geterrorstring() const { return errorText_; }
    void dav_seterrorstring(std::string text) { errorText_ = std::move(text); }
    std::uint32_t GetDavErr() const { return errorNumber_; }
    HttpHandle getInternetOpenHandle() const { return session_.Get(); }
    const std::string& ResourceRoot() const { return resourceRoot_; }

    // Up to three "T" requests on the file area's "Dummy", ending at the first answer but 200.
    void DummyCall();
    // A session of its own and one fetch of the version page, so that a personal firewall asks
    // the user early.
    void DummyCallFireWall();
    // Fetches the version page on the current session: 0, or -1 after a pause of two seconds.
    int getPatchStatus();

    // "https://" + WebDAV host + the version page's path.
    std::string VersionPageUrl() const;

  private:
    int Fail(std::string_view verb);
    bool FetchVersionPage();

    AppContext& context_;
    IHttp& http_;
    ScopedHttpHandle session_;
    ScopedHttpHandle connection_;
    ScopedHttpHandle request_;
    std::string authorization_;
    std::string resourceRoot_;
    std::string extraHeaders_;
    std::string requestBody_;
    std::string proxyUser_;
    std::string proxyPassword_;
    std::string errorText_;
    std::uint32_t errorNumber_ = 0;
};

// "#" and "%" of a resource as "%23" and "%25"; nothing else changes.
std::string EscapeResource(std::string_view resource);

}  // namespace ovp
