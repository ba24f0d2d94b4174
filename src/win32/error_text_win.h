#pragma once
// The system's own text for an error number, for trace lines.

#include <cstdint>
#include <string>

namespace ovp::win {

// The message Windows gives for the error, without its trailing line break; "" when it has none.
std::string SystemErrorText(std::uint32_t error);

}  // namespace ovp::win
