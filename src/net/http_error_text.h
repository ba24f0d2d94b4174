#pragma once
// Readable texts for the failure numbers of the system's HTTP client.

#include <cstdint>
#include <string>

#include "platform/http.h"

namespace ovp {

// The text of the failure number. 12003 (an extended error) gives the server's last response up
// to its first NUL character. The certificate failures have texts of their own, since the system
// may have none for them.
std::string HttpErrorText(IHttp& http, std::uint32_t number);

// Whether the number is one of the HTTP client's own (12000 to 12999).
inline bool IsHttpClientError(std::uint32_t number) {
    return number >= 12000 && number <= 12999;
}

}  // namespace ovp
