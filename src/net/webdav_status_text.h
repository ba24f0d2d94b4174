#pragma once
// `dav_oper_stat_codes`'s texts for a failed request: the file errors, the HTTP client's own
// failures and, by status and verb, the HTTP answers.

#include <cstdint>
#include <string>
#include <string_view>

namespace ovp {

// The text of a failed HTTP answer for the verb; serviceName fills the texts that name the
// service. "" for 401 and 403 of PROPFIND, which the caller handles itself.
std::string WebDavStatusText(std::string_view verb, std::uint32_t status, std::string_view serviceName);

// The text of a file error number (52 to 76); "" for any other number.
std::string FileErrorText(std::uint32_t number);

}  // namespace ovp
