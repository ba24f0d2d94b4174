#include "win32/locale_format_win.h"

#include <windows.h>

#include <string>

#include "win32/text_win.h"

namespace ovp::win {

namespace {

// One value of the user's locale; "" when the system cannot give it.
std::string UserLocaleValue(LCTYPE type) {
    // The size query first: a pattern has no fixed upper length.
    const int size = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, nullptr, 0);
    if (size <= 0) {
        return {};
    }
    std::wstring value(static_cast<std::size_t>(size), L'\0');
    const int written = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, value.data(), size);
    if (written <= 0) {
        return {};
    }
    value.resize(static_cast<std::size_t>(written - 1));  // the count includes the NUL
    return Narrow(value);
}

}  // namespace

std::string Win32LocaleFormat::ShortDatePattern() {
    return UserLocaleValue(LOCALE_SSHORTDATE);
}

std::string Win32LocaleFormat::DecimalSeparator() {
    const std::string separator = UserLocaleValue(LOCALE_SDECIMAL);
    return separator.empty() ? std::string(".") : separator;
}

}  // namespace ovp::win
