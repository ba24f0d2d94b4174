#pragma once
// UTF-8 (the core's text) <-> UTF-16 (the Win32 calls), at the edge only.

#include <string>
#include <string_view>

namespace ovp::win {

std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace ovp::win
