#include "net/base64.h"

namespace ovp {

namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kPadding = '=';
constexpr std::uint8_t kHighBit = 0x80;
// Decoding table marks besides the values 0..63.
constexpr std::uint8_t kPad = 64;
constexpr std::uint8_t kInvalid = 255;

}  // namespace

cBase64::cBase64() {
    decodeTable_.fill(kInvalid);
    for (std::size_t value = 0; value < kAlphabet.size(); ++value) {
        const auto code = static_cast<std::uint8_t>(kAlphabet[value]);
        decodeTable_[code] = static_cast<std::uint8_t>(value);
        decodeTable_[code | kHighBit] = static_cast<std::uint8_t>(value);
    }
    decodeTable_[static_cast<std::uint8_t>(kPadding)] = kPad;
    decodeTable_[static_cast<std::uint8_t>(kPadding) | kHighBit] = kPad;
}

std::string cBase64::encode(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t at = 0;
    for (; at + 3 <= bytes.size(); at += 3) {
        const std::uint32_t group = static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at])) << 16 |
                                    static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 1])) << 8 |
                                    static_cast<std::uint8_t>(bytes[at + 2]);
        out += kAlphabet[(group >> 18) & 63];
        out += kAlphabet[(group >> 12) & 63];
        out += kAlphabet[(group >> 6) & 63];
        out += kAlphabet[group & 63];
    }
    const std::size_t rest = bytes.size() - at;
    if (rest > 0) {
        std::uint32_t group = static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at])) << 16;
        if (rest == 2) {
            group |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 1])) << 8;
        }
        out += kAlphabet[(group >> 18) & 63];
        out += kAlphabet[(group >> 12) & 63];
        out += rest == 2 ? kAlphabet[(group >> 6) & 63] : kPadding;
        out += kPadding;
    }
    encodedMessage_ = out;
    return out;
}

std::string cBase64::Decode(std::string_view text) {
    std::string out;
    out.reserve(text.size() / 4 * 3 + 2);
    std::uint32_t group = 0;
    int sextets = 0;
    for (const char c : text) {
        const std::uint8_t value = decodeTable_[static_cast<std::uint8_t>(c)];
        if (value == kPad) {
            break;
        }
        if (value == kInvalid) {
            continue;
        }
        group = group << 6 | value;
        if (++sextets == 4) {
            out += static_cast<char>((group >> 16) & 0xFF);
            out += static_cast<char>((group >> 8) & 0xFF);
            out += static_cast<char>(group & 0xFF);
            group = 0;
            sextets = 0;
        }
    }
    // Two characters carry one whole byte, three carry two.
    if (sextets == 2) {
        out += static_cast<char>((group >> 4) & 0xFF);
    } else if (sextets == 3) {
        out += static_cast<char>((group >> 10) & 0xFF);
        out += static_cast<char>((group >> 2) & 0xFF);
    }
    decodedMessage_ = out;
    return out;
}

}  // namespace ovp
