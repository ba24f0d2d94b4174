// Stored profile values: any stored text unobscures and re-obscures to itself once it is valid
// UTF-8, the obscured form keeps the character count, and any stored quota number parses to a
// finite value or the fallback.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/text.h"
#include "settings/obscure.h"
#include "settings/shared_values.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string text = ovp::CodePointsToUtf8(ovp::Utf8ToCodePoints(input));  // valid UTF-8

    const std::string obscured = ovp::Obscure(text);
    if (ovp::Unobscure(obscured) != text || ovp::Obscure(ovp::Unobscure(text)) != text) {
        std::abort();
    }
    if (ovp::Utf8ToCodePoints(obscured).size() != ovp::Utf8ToCodePoints(text).size()) {
        std::abort();
    }

    const double number = ovp::ParseStoredNumber(input, -1);
    if (!std::isfinite(number)) {
        std::abort();
    }
    return 0;
}
