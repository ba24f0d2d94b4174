#pragma once
// The HTTP port on WinINet. Every request and opened address refuses to follow redirects and
// validates the server's certificate in full: the flags that would relax either are never set.

#include "contract/trace_sink.h"
#include "platform/http.h"

namespace ovp::win {

class Win32Http final : public IHttp {
  public:
    // trace: where failing calls are traced with their error numbers; may be nullptr.
    explicit Win32Http(ITraceSink* trace = nullptr) : trace_(trace) {}

    HttpHandle OpenSession(const HttpSessionOptions& options) override;
    HttpHandle Connect(HttpHandle session,
                       std::string_view host,
                       std::uint16_t port,
                       std::string_view user,
                       std::string_view password) override;
    HttpHandle OpenRequest(HttpHandle connection,
                           std::string_view verb,
                           std::string_view object,
                           std::string_view version,
                           HttpRequestFlags flags) override;
    bool AddHeaders(HttpHandle request, std::string_view headers) override;
    bool SetTimeouts(HttpHandle handle, std::uint32_t ms) override;
    bool SetProxyCredentials(HttpHandle request, std::string_view user, std::string_view password) override;
    bool Send(HttpHandle request, std::string_view body) override;
    std::optional<std::uint32_t> StatusCode(HttpHandle request) override;
    std::optional<std::size_t> Read(HttpHandle request, char* buffer, std::size_t size) override;
    HttpHandle OpenUrl(HttpHandle session, std::string_view url, HttpRequestFlags flags) override;
    void Close(HttpHandle handle) override;
    std::uint32_t LastError() override;
    std::string LastResponseInfo() override;
    bool DialUp(std::string_view connectionName) override;

  private:
    // Traces the failing call with the thread's last error, which it leaves as it was.
    void TraceFailure(const char* call);

    ITraceSink* trace_;
};

}  // namespace ovp::win
