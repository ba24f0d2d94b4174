#include "net/http_error_text.h"

#include <string_view>

#include "base/text.h"

namespace ovp {

namespace {

struct ErrorText {
    std::uint32_t number;
    std::string_view text;
};

// Several texts end in a blank: the service's tools match them as they are.
constexpr ErrorText kErrorTexts[] = {
    {12001, "No more handles could be generated at this time"},
    {12002, "The request has timed out."},
    {12004, "An internal error has occurred."},
    {12005, "URL is invalid."},
    {12006, "URL scheme could not be recognized, or is not supported."},
    {12007, "Server name could not be resolved."},
    {12008, "Requested protocol could not be located."},
    {12009, "Request to InternetQueryOption or InternetSetOption specified an invalid option value."},
    {12010,
     "Length of an option supplied to InternetQueryOption or InternetSetOption is incorrect for the type of option "
     "specified."},
    {12011, "Request option can not be set, only queried. "},
    {12012, "Win32 Internet support is being shutdown or unloaded."},
    {12013,
     "Request to connect and login to an FTP server could not be completed because the supplied user name is "
     "incorrect."},
    {12014,
     "Request to connect and login to an FTP server could not be completed because the supplied password is "
     "incorrect. "},
    {12015, "Request to connect to and login to an FTP server failed."},
    {12016, "Requested operation is invalid. "},
    {12017,
     "Operation was canceled, usually because the handle on which the request was operating was closed before the "
     "operation completed."},
    {12018, "Type of handle supplied is incorrect for this operation."},
    {12019, "Requested operation can not be carried out because the handle supplied is not in the correct state."},
    {12020, "Request can not be made via a proxy."},
    {12021, "Required registry value could not be located. "},
    {12022, "Required registry value was located but is an incorrect type or has an invalid value."},
    {12023, "Direct network access cannot be made at this time. "},
    {12024, "Asynchronous request could not be made because a zero context value was supplied."},
    {12025, "Asynchronous request could not be made because a callback function has not been set."},
    {12026, "Required operation could not be completed because one or more requests are pending."},
    {12027, "Format of the request is invalid."},
    {12028, "Requested item could not be located."},
    {12029, "Attempt to connect to the server failed."},
    {12030, "Connection with the server has been terminated."},
    {12031, "Connection with the server has been reset."},
    {12036, "Request failed because the handle already exists."},
    {kHttpErrorCertificateDate, "The server's security certificate has expired or is not yet valid."},
    {kHttpErrorCertificateName, "The server's security certificate was issued for another name."},
    {kHttpErrorSecureFailure,
     "The server's security certificate could not be verified: it was not issued by a trusted authority."},
    {kHttpErrorSecureChannel, "A secure connection to the server could not be established."},
};

constexpr std::string_view kExtendedFallback = "Extended error returned from server.";
constexpr std::string_view kUnknown = "Error details not available.";

}  // namespace

std::string HttpErrorText(IHttp& http, std::uint32_t number) {
    if (number == kHttpErrorExtended) {
        const std::string response = CutAtNul(http.LastResponseInfo());
        return response.empty() ? std::string(kExtendedFallback) : response;
    }
    for (const ErrorText& entry : kErrorTexts) {
        if (entry.number == number) {
            return std::string(entry.text);
        }
    }
    return std::string(kUnknown);
}

}  // namespace ovp
