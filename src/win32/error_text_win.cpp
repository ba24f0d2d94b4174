#include "win32/error_text_win.h"

#include <windows.h>

#include "base/text.h"
#include "win32/text_win.h"

namespace ovp::win {

std::string SystemErrorText(std::uint32_t error) {
    wchar_t buffer[512] = {};
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                          buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    return TrimWhitespace(Narrow(std::wstring_view(buffer, length)));
}

std::string ApiFailureText(std::string_view api, std::uint32_t error, std::string_view subject) {
    std::string line = std::string(api) + " failed for " + std::string(subject) + ": error " + std::to_string(error);
    const std::string text = SystemErrorText(error);
    return text.empty() ? line : line + " " + text;
}

}  // namespace ovp::win
