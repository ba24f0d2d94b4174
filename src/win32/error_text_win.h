#pragma once
// The system's own text for an error number, for trace lines.

#include <cstdint>
#include <string>
#include <string_view>

namespace ovp::win {

// The message Windows gives for the error, without its trailing line break; "" when it has none.
std::string SystemErrorText(std::uint32_t error);

// The trace line of a failed call: "<api> failed for <subject>: error <code> <system text>".
std::string ApiFailureText(std::string_view api, std::uint32_t error, std::string_view subject);

}  // namespace ovp::win
