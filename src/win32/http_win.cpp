#include "win32/http_win.h"

#include <windows.h>
#include <wininet.h>

#include <string>
#include <vector>

#include "win32/text_win.h"

namespace ovp::win {

namespace {

HINTERNET Handle(HttpHandle handle) {
    return reinterpret_cast<HINTERNET>(handle);
}

HttpHandle Number(HINTERNET handle) {
    return reinterpret_cast<HttpHandle>(handle);
}

DWORD RequestFlags(HttpRequestFlags flags) {
    // Never INTERNET_FLAG_IGNORE_CERT_*: a certificate that fails validation fails the request.
    DWORD value = INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_NO_UI;
    if (flags.reload) {
        value |= INTERNET_FLAG_RELOAD;
    }
    if (flags.noCacheWrite) {
        value |= INTERNET_FLAG_NO_CACHE_WRITE;
    }
    if (flags.secure) {
        value |= INTERNET_FLAG_SECURE;
    }
    return value;
}

DWORD AccessType(HttpAccess access) {
    switch (access) {
        case HttpAccess::Direct:
            return INTERNET_OPEN_TYPE_DIRECT;
        case HttpAccess::Proxy:
            return INTERNET_OPEN_TYPE_PROXY;
        case HttpAccess::Preconfigured:
        default:
            return INTERNET_OPEN_TYPE_PRECONFIG;
    }
}

bool SetStringOption(HINTERNET handle, DWORD option, std::string_view value) {
    std::wstring wide = Wide(value);
    return ::InternetSetOptionW(handle, option, wide.data(), static_cast<DWORD>(wide.size())) != FALSE;
}

}  // namespace

void Win32Http::TraceFailure(const char* call) {
    const DWORD error = ::GetLastError();
    if (trace_ != nullptr) {
        trace_->Error(std::string(call) + " failed: " + std::to_string(error));
    }
    ::SetLastError(error);
}

HttpHandle Win32Http::OpenSession(const HttpSessionOptions& options) {
    const std::wstring agent = Wide(options.agent);
    const std::wstring proxy = Wide(options.proxy);
    const bool viaProxy = options.access == HttpAccess::Proxy && !proxy.empty();
    const HINTERNET session =
        ::InternetOpenW(agent.c_str(), AccessType(options.access), viaProxy ? proxy.c_str() : nullptr, nullptr, 0);
    if (session == nullptr) {
        TraceFailure("InternetOpen");
    }
    return Number(session);
}

HttpHandle Win32Http::Connect(HttpHandle session,
                              std::string_view host,
                              std::uint16_t port,
                              std::string_view user,
                              std::string_view password) {
    const std::wstring wideHost = Wide(host);
    const std::wstring wideUser = Wide(user);
    const std::wstring widePassword = Wide(password);
    const HINTERNET connection =
        ::InternetConnectW(Handle(session), wideHost.c_str(), port, user.empty() ? nullptr : wideUser.c_str(),
                           user.empty() ? nullptr : widePassword.c_str(), INTERNET_SERVICE_HTTP, 0, 0);
    if (connection == nullptr) {
        TraceFailure("InternetConnect");
    }
    return Number(connection);
}

HttpHandle Win32Http::OpenRequest(HttpHandle connection,
                                  std::string_view verb,
                                  std::string_view object,
                                  std::string_view version,
                                  HttpRequestFlags flags) {
    const std::wstring wideVerb = Wide(verb);
    const std::wstring wideObject = Wide(object);
    const std::wstring wideVersion = Wide(version);
    const HINTERNET request = ::HttpOpenRequestW(Handle(connection), wideVerb.c_str(), wideObject.c_str(),
                                                 wideVersion.c_str(), nullptr, nullptr, RequestFlags(flags), 0);
    if (request == nullptr) {
        TraceFailure("HttpOpenRequest");
    }
    return Number(request);
}

bool Win32Http::AddHeaders(HttpHandle request, std::string_view headers) {
    const std::wstring wide = Wide(headers);
    if (::HttpAddRequestHeadersW(Handle(request), wide.c_str(), static_cast<DWORD>(wide.size()),
                                 HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE) == FALSE) {
        TraceFailure("HttpAddRequestHeaders");
        return false;
    }
    return true;
}

bool Win32Http::SetTimeouts(HttpHandle handle, std::uint32_t ms) {
    DWORD value = ms;
    for (const DWORD option :
         {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        if (::InternetSetOptionW(Handle(handle), option, &value, sizeof(value)) == FALSE) {
            TraceFailure("InternetSetOption");
            return false;
        }
    }
    return true;
}

bool Win32Http::SetProxyCredentials(HttpHandle request, std::string_view user, std::string_view password) {
    if (!SetStringOption(Handle(request), INTERNET_OPTION_PROXY_USERNAME, user) ||
        !SetStringOption(Handle(request), INTERNET_OPTION_PROXY_PASSWORD, password)) {
        TraceFailure("InternetSetOption");
        return false;
    }
    return true;
}

bool Win32Http::Send(HttpHandle request, std::string_view body) {
    std::string bytes(body);
    if (::HttpSendRequestW(Handle(request), nullptr, 0, bytes.empty() ? nullptr : bytes.data(),
                           static_cast<DWORD>(bytes.size())) == FALSE) {
        TraceFailure("HttpSendRequest");
        return false;
    }
    return true;
}

std::optional<std::uint32_t> Win32Http::StatusCode(HttpHandle request) {
    DWORD status = 0;
    DWORD size = sizeof(status);
    if (::HttpQueryInfoW(Handle(request), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) ==
        FALSE) {
        TraceFailure("HttpQueryInfo");
        return std::nullopt;
    }
    return status;
}

std::optional<std::size_t> Win32Http::Read(HttpHandle request, char* buffer, std::size_t size) {
    DWORD count = 0;
    if (::InternetReadFile(Handle(request), buffer, static_cast<DWORD>(size), &count) == FALSE) {
        TraceFailure("InternetReadFile");
        return std::nullopt;
    }
    return count;
}

HttpHandle Win32Http::OpenUrl(HttpHandle session, std::string_view url, HttpRequestFlags flags) {
    const std::wstring wide = Wide(url);
    const HINTERNET page = ::InternetOpenUrlW(Handle(session), wide.c_str(), nullptr, 0, RequestFlags(flags), 0);
    if (page == nullptr) {
        TraceFailure("InternetOpenUrl");
    }
    return Number(page);
}

void Win32Http::Close(HttpHandle handle) {
    if (handle != 0) {
        const DWORD error = ::GetLastError();
        ::InternetCloseHandle(Handle(handle));
        ::SetLastError(error);
    }
}

std::uint32_t Win32Http::LastError() {
    return ::GetLastError();
}

std::string Win32Http::LastResponseInfo() {
    DWORD error = 0;
    DWORD length = 0;
    ::InternetGetLastResponseInfoW(&error, nullptr, &length);
    if (length == 0) {
        return {};
    }
    std::vector<wchar_t> text(length + 1, L'\0');
    if (::InternetGetLastResponseInfoW(&error, text.data(), &length) == FALSE) {
        return {};
    }
    return Narrow(std::wstring_view(text.data(), length));
}

bool Win32Http::DialUp(std::string_view connectionName) {
    std::wstring name = Wide(connectionName);
    DWORD_PTR connection = 0;
    const DWORD result = ::InternetDialW(nullptr, name.data(), INTERNET_AUTODIAL_FORCE_UNATTENDED, &connection, 0);
    if (result != ERROR_SUCCESS && trace_ != nullptr) {
        trace_->Error("InternetDial failed: " + std::to_string(result));
    }
    return result == ERROR_SUCCESS;
}

}  // namespace ovp::win
