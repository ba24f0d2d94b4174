#pragma once
// The HTTP port for tests: records every request with its headers and body, and answers each
// request (or opened address) with the next scripted answer, by default 200 and no body.

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/http.h"

namespace ovp::test {

struct FakeHttpAnswer {
    std::uint32_t status = 200;
    std::string body;
    // The failure number of a send that fails (0: the system reports none).
    bool sendFails = false;
    std::uint32_t sendError = 0;

    static FakeHttpAnswer Status(std::uint32_t status, std::string body = {}) {
        FakeHttpAnswer answer;
        answer.status = status;
        answer.body = std::move(body);
        return answer;
    }
    static FakeHttpAnswer SendFailure(std::uint32_t error) {
        FakeHttpAnswer answer;
        answer.sendFails = true;
        answer.sendError = error;
        return answer;
    }
};

struct FakeHttpRequest {
    std::string agent;
    HttpAccess access = HttpAccess::Preconfigured;
    std::string host;
    std::uint16_t port = 0;
    std::string verb;  // "GET" for an opened address
    std::string object;
    std::string version;
    HttpRequestFlags flags;
    std::string headers;
    std::string body;
    std::uint32_t timeoutMs = 0;  // of the request or its session
    bool sent = false;
};

class FakeHttp : public IHttp {
  public:
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
    std::uint32_t LastError() override { return lastError; }
    std::string LastResponseInfo() override { return lastResponse; }
    bool DialUp(std::string_view /*connectionName*/) override { return true; }

    std::deque<FakeHttpAnswer> answers;
    std::vector<FakeHttpRequest> requests;
    // The sizes asked for by each read.
    std::vector<std::size_t> reads;
    std::uint32_t lastError = 0;
    std::string lastResponse;

    std::size_t OpenHandles() const { return handles_.size(); }

  private:
    struct Handle {
        std::size_t request = SIZE_MAX;  // index into requests
        FakeHttpRequest base;            // what a child handle inherits
        FakeHttpAnswer answer;
        std::size_t readAt = 0;
    };
    HttpHandle New(Handle handle);
    Handle* Find(HttpHandle handle);
    HttpHandle StartRequest(FakeHttpRequest request);

    std::map<HttpHandle, Handle> handles_;
    HttpHandle next_ = 1;
};

}  // namespace ovp::test
