#pragma once
// Base64 with the standard alphabet and "=" padding, without line breaks.
//
// Both directions work on byte strings: every char is one byte 0..255, whatever text encoding the
// caller chose for it.
//
// Decoding is lenient, because what is decoded is our own or the service's output and a stray
// character should not cost the rest: characters outside the alphabet (line breaks, blanks,
// anything else) are skipped, decoding stops at the first padding character, and a last group of
// two or three characters gives one or two bytes (a single left-over character gives none).
// A character with the high bit set counts as the same character without it.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace ovp {

class cBase64 {
  public:
    cBase64();

    std::string encode(std::string_view bytes);
    std::string Decode(std::string_view text);

    // The last result of each direction.
    const std::string& EncodedMessage() const { return encodedMessage_; }
    const std::string& DecodedMessage() const { return decodedMessage_; }

  private:
    std::array<std::uint8_t, 256> decodeTable_{};
    std::string encodedMessage_;
    std::string decodedMessage_;
};

}  // namespace ovp
