#include "net/webdav_status_text.h"

namespace ovp {

namespace {

// The texts are the service's own, spelling included: its support matches them as they are.
constexpr std::string_view kUnknown = "Unknown Error has occured.";
constexpr std::string_view kUnknownWith = "Unknown Error has occured. : ";

bool Is(std::string_view verb, std::string_view name) {
    return verb == name;
}

std::string UnknownWith(std::uint32_t status) {
    return std::string(kUnknownWith) + std::to_string(status);
}

std::string ServiceText(std::string_view before, std::string_view serviceName, std::string_view after) {
    return std::string(before) + std::string(serviceName) + std::string(after);
}

}  // namespace

std::string FileErrorText(std::uint32_t number) {
    switch (number) {
        case 52:
            return "Bad file name or number.";
        case 53:
            return "File not found.";
        case 54:
            return "Bad file mode.";
        case 55:
            return "File already open.";
        case 57:
            return "Device I/O error.";
        case 68:
            return "Device unavailable.";
        case 70:
            return "Permission Denied.";
        case 71:
            return "Disk Not Ready.";
        case 75:
            return "Path/File Access Error.";
        case 76:
            return "Path not found.";
        default:
            return {};
    }
}

std::string WebDavStatusText(std::string_view verb, std::uint32_t status, std::string_view serviceName) {
    const bool copyOrMove = Is(verb, "MOVE") || Is(verb, "COPY");
    const bool mkcol = Is(verb, "MKCOL");
    switch (status) {
        case 207:
            return Is(verb, "DELETE") ? "An unknown error occured during deletion." : std::string(kUnknown);
        case 400:
            return "Bad request.";
        case 401:
            return Is(verb, "PROPFIND") ? "" : "The request requires user authentication.";
        case 403:
            if (Is(verb, "PROPFIND")) {
                return {};
            }
            return mkcol ? "The request is forbidden" : "The request is forbidden.";
        case 404:
            return std::string(kUnknown);
        case 405:
            return mkcol ? "The specified directory name already exists." : std::string(kUnknown);
        case 406:
            return "Not Acceptable. The resource identified by the request is only capable of generating response "
                   "entities which have content characteristics not acceptable according to the accept headers sent "
                   "in the request.";
        case 407:
            return "Proxy authentication required. This error is similar to Unauthorized, but indicates that the "
                   "client MUST first authenticate itself with the proxy.";
        case 408:
            return "Request timeout. The client did not produce a request within the time that the server was "
                   "prepared to wait. The client MAY repeat the request without modifications at any later time.";
        case 409:
            if (Is(verb, "MOVE")) {
                return "Till one or more intermediate collections have been created.";
            }
            if (mkcol) {
                return "One or more intermediate collections have to be created.";
            }
            if (Is(verb, "COPY")) {
                return "Could not copy the resource (till one or more intermediate collections have been created.)";
            }
            return UnknownWith(status);
        case 410:
            return ServiceText("they really mean The requested resource is no longer available at the ", serviceName,
                               " server and no forwarding address is known. This condition SHOULD be considered "
                               "permanent.");
        case 411:
            return ServiceText("Length required. The ", serviceName,
                               " server refuses to accept the request without a defined Content- Length.");
        case 412:
            return copyOrMove ? "The name specified already exists in the same folder."
                              : "Unknown Error has occured. :" + std::to_string(status);
        case 413:
            return ServiceText("Request entity too large. The ", serviceName,
                               " server is refusing to process a request because the request entity is larger than "
                               "the server is willing or able to process. The server may close the connection to "
                               "prevent the client from continuing the request.");
        case 414:
            return ServiceText("Request-URL Too Long. The ", serviceName,
                               " server is refusing to service the request because the Request-URI is longer than "
                               "the server is willing to interpret.");
        case 415:
            return mkcol ? ServiceText("The ", serviceName, " server does not support the request type of the body.")
                         : UnknownWith(status);
        case 423:
            return copyOrMove ? "The source or the destination resource was locked." : UnknownWith(status);
        case 502:
            return copyOrMove ? "This may occur when the destination is on another server and the destination "
                                "server refuses to accept the resource."
                              : UnknownWith(status);
        case 503:
            return ServiceText("Service Unavailable. The ", serviceName,
                               " server is currently unable to handle the request due to a temporary overloading or "
                               "maintenance of the server. The implication is that this is a temporary condition "
                               "which will be alleviated after some delay.");
        case 507:
            return mkcol ? "(Insufficient Storage) - The resource does not have sufficient space to record the state "
                           "of the resource after the execution of this method."
                         : UnknownWith(status);
        default:
            return UnknownWith(status);
    }
}

}  // namespace ovp
