#pragma once
// The HTTP port for tests: records every request with its headers and body, and answers each
// request (or opened address) with the next scripted answer, by default 200 and no body.

#include <algorithm>
#include <cstdint>
#include <cstring>
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

    static FakeHttpAnswer Status(std::uint32_t status, std::string body = {}) { return {status, std::move(body)}; }
    static FakeHttpAnswer SendFailure(std::uint32_t error) {
        return {.body = {}, .sendFails = true, .sendError = error};
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
    HttpHandle OpenSession(const HttpSessionOptions& options) override {
        Handle session;
        session.base.agent = options.agent;
        session.base.access = options.access;
        return New(session);
    }
    HttpHandle Connect(HttpHandle session,
                       std::string_view host,
                       std::uint16_t port,
                       std::string_view /*user*/,
                       std::string_view /*password*/) override {
        const Handle* parent = Find(session);
        if (parent == nullptr) {
            return 0;
        }
        Handle connection;
        connection.base = parent->base;
        connection.base.host = std::string(host);
        connection.base.port = port;
        return New(connection);
    }
    HttpHandle OpenRequest(HttpHandle connection,
                           std::string_view verb,
                           std::string_view object,
                           std::string_view version,
                           HttpRequestFlags flags) override {
        const Handle* parent = Find(connection);
        if (parent == nullptr) {
            return 0;
        }
        FakeHttpRequest request = parent->base;
        request.verb = std::string(verb);
        request.object = std::string(object);
        request.version = std::string(version);
        request.flags = flags;
        return StartRequest(request);
    }
    bool AddHeaders(HttpHandle request, std::string_view headers) override {
        FakeHttpRequest* recorded = Recorded(Find(request));
        if (recorded != nullptr) {
            recorded->headers += std::string(headers);
        }
        return recorded != nullptr;
    }
    bool SetTimeouts(HttpHandle target, std::uint32_t ms) override {
        Handle* handle = Find(target);
        if (handle != nullptr) {
            FakeHttpRequest* recorded = Recorded(handle);
            (recorded != nullptr ? recorded : &handle->base)->timeoutMs = ms;
        }
        return handle != nullptr;
    }
    bool SetProxyCredentials(HttpHandle request, std::string_view /*user*/, std::string_view /*password*/) override {
        return Find(request) != nullptr;
    }
    bool Send(HttpHandle request, std::string_view body) override {
        Handle* handle = Find(request);
        FakeHttpRequest* recorded = Recorded(handle);
        if (recorded == nullptr) {
            return false;
        }
        recorded->body = std::string(body);
        if (handle->answer.sendFails) {
            lastError = handle->answer.sendError;
            return false;
        }
        recorded->sent = true;
        return true;
    }
    std::optional<std::uint32_t> StatusCode(HttpHandle request) override {
        Handle* handle = Find(request);
        const FakeHttpRequest* recorded = Recorded(handle);
        return recorded != nullptr && recorded->sent ? std::optional(handle->answer.status) : std::nullopt;
    }
    std::optional<std::size_t> Read(HttpHandle request, char* buffer, std::size_t size) override {
        reads.push_back(size);
        Handle* handle = Find(request);
        if (Recorded(handle) == nullptr) {
            return std::nullopt;
        }
        const std::string& body = handle->answer.body;
        const std::size_t count = std::min(size, body.size() - handle->readAt);
        std::memcpy(buffer, body.data() + handle->readAt, count);
        handle->readAt += count;
        return count;
    }
    HttpHandle OpenUrl(HttpHandle session, std::string_view url, HttpRequestFlags flags) override {
        const Handle* parent = Find(session);
        if (parent == nullptr) {
            return 0;
        }
        FakeHttpRequest request = parent->base;
        request.verb = "GET";
        request.object = std::string(url);
        request.flags = flags;
        request.sent = true;
        const HttpHandle handle = StartRequest(request);
        if (handles_[handle].answer.sendFails) {
            lastError = handles_[handle].answer.sendError;
            handles_.erase(handle);
            return 0;
        }
        return handle;
    }
    void Close(HttpHandle handle) override { handles_.erase(handle); }
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
    HttpHandle New(Handle handle) {
        handles_[next_] = std::move(handle);
        return next_++;
    }
    Handle* Find(HttpHandle handle) {
        const auto it = handles_.find(handle);
        return it == handles_.end() ? nullptr : &it->second;
    }
    // The request recorded for a request's handle; null for other handles.
    FakeHttpRequest* Recorded(const Handle* handle) {
        return handle == nullptr || handle->request == SIZE_MAX ? nullptr : &requests[handle->request];
    }
    HttpHandle StartRequest(FakeHttpRequest request) {
        Handle handle;
        handle.request = requests.size();
        requests.push_back(std::move(request));
        if (!answers.empty()) {
            handle.answer = answers.front();
            answers.pop_front();
        }
        return New(handle);
    }

    std::map<HttpHandle, Handle> handles_;
    HttpHandle next_ = 1;
};

}  // namespace ovp::test
