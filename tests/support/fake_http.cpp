#include "support/fake_http.h"

#include <algorithm>
#include <cstring>

namespace ovp::test {

HttpHandle FakeHttp::New(Handle handle) {
    const HttpHandle id = next_++;
    handles_[id] = std::move(handle);
    return id;
}

FakeHttp::Handle* FakeHttp::Find(HttpHandle handle) {
    const auto it = handles_.find(handle);
    return it == handles_.end() ? nullptr : &it->second;
}

HttpHandle FakeHttp::OpenSession(const HttpSessionOptions& options) {
    Handle session;
    session.base.agent = options.agent;
    session.base.access = options.access;
    return New(session);
}

HttpHandle FakeHttp::Connect(HttpHandle session,
                             std::string_view host,
                             std::uint16_t port,
                             std::string_view /*user*/,
                             std::string_view /*password*/) {
    Handle* parent = Find(session);
    if (parent == nullptr) {
        return 0;
    }
    Handle connection;
    connection.base = parent->base;
    connection.base.host = std::string(host);
    connection.base.port = port;
    return New(connection);
}

HttpHandle FakeHttp::StartRequest(FakeHttpRequest request) {
    Handle handle;
    handle.request = requests.size();
    requests.push_back(std::move(request));
    if (!answers.empty()) {
        handle.answer = answers.front();
        answers.pop_front();
    }
    return New(handle);
}

HttpHandle FakeHttp::OpenRequest(HttpHandle connection,
                                 std::string_view verb,
                                 std::string_view object,
                                 std::string_view version,
                                 HttpRequestFlags flags) {
    Handle* parent = Find(connection);
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

bool FakeHttp::AddHeaders(HttpHandle request, std::string_view headers) {
    Handle* handle = Find(request);
    if (handle == nullptr || handle->request == SIZE_MAX) {
        return false;
    }
    requests[handle->request].headers += std::string(headers);
    return true;
}

bool FakeHttp::SetTimeouts(HttpHandle target, std::uint32_t ms) {
    Handle* handle = Find(target);
    if (handle == nullptr) {
        return false;
    }
    if (handle->request == SIZE_MAX) {
        handle->base.timeoutMs = ms;
    } else {
        requests[handle->request].timeoutMs = ms;
    }
    return true;
}

bool FakeHttp::SetProxyCredentials(HttpHandle request, std::string_view /*user*/, std::string_view /*password*/) {
    return Find(request) != nullptr;
}

bool FakeHttp::Send(HttpHandle request, std::string_view body) {
    Handle* handle = Find(request);
    if (handle == nullptr || handle->request == SIZE_MAX) {
        return false;
    }
    FakeHttpRequest& recorded = requests[handle->request];
    recorded.body = std::string(body);
    if (handle->answer.sendFails) {
        lastError = handle->answer.sendError;
        return false;
    }
    recorded.sent = true;
    return true;
}

std::optional<std::uint32_t> FakeHttp::StatusCode(HttpHandle request) {
    Handle* handle = Find(request);
    if (handle == nullptr || handle->request == SIZE_MAX || !requests[handle->request].sent) {
        return std::nullopt;
    }
    return handle->answer.status;
}

std::optional<std::size_t> FakeHttp::Read(HttpHandle request, char* buffer, std::size_t size) {
    reads.push_back(size);
    Handle* handle = Find(request);
    if (handle == nullptr || handle->request == SIZE_MAX) {
        return std::nullopt;
    }
    const std::string& body = handle->answer.body;
    const std::size_t count = std::min(size, body.size() - handle->readAt);
    std::memcpy(buffer, body.data() + handle->readAt, count);
    handle->readAt += count;
    return count;
}

HttpHandle FakeHttp::OpenUrl(HttpHandle session, std::string_view url, HttpRequestFlags flags) {
    Handle* parent = Find(session);
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

void FakeHttp::Close(HttpHandle handle) {
    handles_.erase(handle);
}

}  // namespace ovp::test
