#pragma once
// `HttpFunctions`: the notification post (error reports and feedback, an HTML form posted over
// TLS to the service's notification host) and the fetch of a page by its address. Failures are
// left as the error text of the shared `WebDavControl`.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "context/app_context.h"
#include "net/webdav_control.h"

namespace ovp {

inline constexpr std::uint16_t kNotificationPort = 11900;
inline constexpr std::string_view kNotifyPath = "/cgi-bin/Notify";
inline constexpr std::string_view kNotifyUnicodePath = "/cgi-bin/Notify_unicode";
inline constexpr std::uint32_t kHttpTimeoutMs = 45000;
// HttpGet reads in pieces of this size and never keeps more than the cap.
inline constexpr std::size_t kHttpGetPieceBytes = 4096;
inline constexpr std::size_t kHttpGetMaxBytes = 1024 * 1024;

class HttpFunctions {
  public:
    HttpFunctions(AppContext& context, WebDavControl& dav) : context_(context), dav_(dav) {}

    // Posts the notification: to the plain path without a user address, to the Unicode path
    // with one. True only when the service answered with a 2xx status; otherwise the error text
    // of the WebDAV control says why.
    bool SendEmail(std::string_view email,
                   std::string_view subject,
                   std::string_view content,
                   std::string_view userAddress);

    // Appends one form field: the first as name=value, every further one after CR LF and "&".
    // The first is always encoded; a raw value is appended as it is.
    void AddField(std::string_view name, std::string_view value, bool raw);
    const std::string& Body() const { return body_; }

    // One POST of the body; true on a 2xx answer.
    bool Post(std::string_view host, std::string_view path, std::string_view body);

    // The page at the web address (http or https); "" when it cannot be had or the answer is not
    // 2xx. At most kHttpGetMaxBytes are kept; window events run between the reads.
    std::string HttpGet(std::string_view url);

  private:
    AppContext& context_;
    WebDavControl& dav_;
    std::string body_;
};

// The form's encoding of a value: trimmed; ASCII letters and digits stay; every other character
// up to code 255 becomes "%" and its code in two upper-case hex digits (a blank "%20"); a
// character above 255 becomes its UTF-8 bytes, each so encoded.
std::string URLEncode(std::string_view text);

}  // namespace ovp
