#include "report/report_encoding.h"

#include "base/text.h"

namespace ovp {

namespace {

constexpr std::string_view kHex = "0123456789ABCDEF";

void AppendPercent(std::string& out, unsigned char byte) {
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

bool StaysInReport(unsigned char byte) {
    return byte == '/' || (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

}  // namespace

std::string URLEncodeWebd(std::string_view text) {
    if (Trim(text).empty()) {
        return {};
    }
    std::string encoded;
    encoded.reserve(text.size() * 2);
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (StaysInReport(byte)) {
            encoded += ch;
        } else {
            AppendPercent(encoded, byte);
        }
    }
    return encoded;
}

std::string EncodeMessageLines(std::string_view message) {
    std::string joined;
    std::size_t start = 0;
    bool first = true;
    while (start <= message.size()) {
        std::size_t end = message.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = message.size();
        }
        if (!first) {
            joined += '\n';
        }
        first = false;
        joined += URLEncodeWebd(message.substr(start, end - start));
        if (end == message.size()) {
            break;
        }
        start = end + ((message[end] == '\r' && end + 1 < message.size() && message[end + 1] == '\n') ? 2 : 1);
    }
    return joined;
}

std::string FormSafe(std::string_view value) {
    std::string safe;
    safe.reserve(value.size());
    for (const char ch : value) {
        if (ch == '&' || ch == '%' || ch == '+' || ch == '=' || ch == '\r' || ch == '\n') {
            AppendPercent(safe, static_cast<unsigned char>(ch));
        } else {
            safe += ch;
        }
    }
    return safe;
}

}  // namespace ovp
