#include "net/email_address.h"

namespace ovp {

bool IsValidEmail(std::string_view address) {
    for (const char c : address) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 32 || byte == 127 || c == '(' || c == ',' || c == ';') {
            return false;
        }
    }
    const std::size_t firstAt = address.find('@');
    const std::size_t firstDot = address.find('.');
    if (firstAt == std::string_view::npos || firstAt == 0 || firstDot == std::string_view::npos ||
        address.back() == '.' || address.rfind('@') != firstAt || address.rfind('.') < firstAt) {
        return false;
    }
    const std::size_t apart = firstAt > firstDot ? firstAt - firstDot : firstDot - firstAt;
    return apart >= 2;
}

}  // namespace ovp
