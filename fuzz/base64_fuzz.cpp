// Base64: decoding any input is safe, encoding then decoding gives the input back, and decoding
// is stable (what a decode gives, re-encoded, decodes to the same bytes).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "net/base64.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    ovp::cBase64 codec;

    const std::string decoded = codec.Decode(input);
    if (decoded.size() > input.size() / 4 * 3 + 2) {
        std::abort();
    }
    if (codec.Decode(codec.encode(decoded)) != decoded) {
        std::abort();
    }
    if (codec.Decode(codec.encode(input)) != input) {
        std::abort();
    }
    return 0;
}
