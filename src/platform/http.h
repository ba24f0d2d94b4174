#pragma once
// Port: the system's HTTP client, one call per step as the Internet functions of Windows take
// them: a session, a connection to a host, a request on it, its headers, options, send, status
// and reads, or a whole address opened at once. Handles are numbers; 0 is "none".
//
// Two things are deliberately not expressible here, so that no caller can ask for them: ignoring
// an invalid certificate (every certificate is validated in full) and following a redirect
// automatically (it would send the request's headers, credentials included, to wherever the
// answer points). A 3xx answer comes back to the caller like any other status.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ovp {

using HttpHandle = std::uintptr_t;

enum class HttpAccess {
    Preconfigured,  // the system's own settings
    Direct,
    Proxy,  // through the named proxy
};

struct HttpSessionOptions {
    std::string agent;
    HttpAccess access = HttpAccess::Preconfigured;
    std::string proxy;  // for HttpAccess::Proxy: "host:port"
};

struct HttpRequestFlags {
    bool reload = false;        // fetch from the server, never from the cache
    bool noCacheWrite = false;  // do not keep the answer in the cache
    bool secure = false;        // TLS (https)
};

// The certificate and connection failures the port reports, with the system's numbers.
inline constexpr std::uint32_t kHttpErrorTimeout = 12002;
inline constexpr std::uint32_t kHttpErrorExtended = 12003;
inline constexpr std::uint32_t kHttpErrorCannotConnect = 12029;
inline constexpr std::uint32_t kHttpErrorCertificateDate = 12037;
inline constexpr std::uint32_t kHttpErrorCertificateName = 12038;
inline constexpr std::uint32_t kHttpErrorSecureFailure = 12045;  // an untrusted authority, among others
inline constexpr std::uint32_t kHttpErrorSecureChannel = 12057;  // e.g. the chain could not be built

class IHttp {
  public:
    virtual ~IHttp() = default;

    virtual HttpHandle OpenSession(const HttpSessionOptions& options) = 0;
    // A connection to the host's HTTP service (nothing is sent yet).
    virtual HttpHandle Connect(HttpHandle session,
                               std::string_view host,
                               std::uint16_t port,
                               std::string_view user,
                               std::string_view password) = 0;
    virtual HttpHandle OpenRequest(HttpHandle connection,
                                   std::string_view verb,
                                   std::string_view object,
                                   std::string_view version,
                                   HttpRequestFlags flags) = 0;
    // Adds the header lines (CR LF separated), replacing headers of the same name.
    virtual bool AddHeaders(HttpHandle request, std::string_view headers) = 0;
    // The connect, send and receive time-outs.
    virtual bool SetTimeouts(HttpHandle handle, std::uint32_t ms) = 0;
    virtual bool SetProxyCredentials(HttpHandle request, std::string_view user, std::string_view password) = 0;
    // Sends the request with the body's bytes.
    virtual bool Send(HttpHandle request, std::string_view body) = 0;
    // The answer's status code; nothing when there is no answer.
    virtual std::optional<std::uint32_t> StatusCode(HttpHandle request) = 0;
    // Up to `size` bytes of the answer into `buffer`: the count read, 0 at its end, nothing on
    // failure.
    virtual std::optional<std::size_t> Read(HttpHandle request, char* buffer, std::size_t size) = 0;
    // Opens the address (http or https) and sends a GET; the handle reads like a request's.
    virtual HttpHandle OpenUrl(HttpHandle session, std::string_view url, HttpRequestFlags flags) = 0;
    virtual void Close(HttpHandle handle) = 0;

    // The number of the last failure of this thread; 0 when there is none.
    virtual std::uint32_t LastError() = 0;
    // The server's last response text (of an extended error); "" when none can be had.
    virtual std::string LastResponseInfo() = 0;
    // Dials the named dial-up connection; true when it is up.
    virtual bool DialUp(std::string_view connectionName) = 0;
};

// Closes the handle at the end of its scope.
class ScopedHttpHandle {
  public:
    ScopedHttpHandle(IHttp& http, HttpHandle handle = 0) : http_(&http), handle_(handle) {}
    ~ScopedHttpHandle() { Reset(); }
    ScopedHttpHandle(const ScopedHttpHandle&) = delete;
    ScopedHttpHandle& operator=(const ScopedHttpHandle&) = delete;

    HttpHandle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != 0; }
    void Reset(HttpHandle handle = 0) {
        if (handle_ != 0) {
            http_->Close(handle_);
        }
        handle_ = handle;
    }

  private:
    IHttp* http_;
    HttpHandle handle_;
};

}  // namespace ovp
