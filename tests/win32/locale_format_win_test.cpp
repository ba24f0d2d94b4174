#include "win32/locale_format_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "win32/text_win.h"

namespace ovp::win {
namespace {

std::string Expected(LCTYPE type) {
    wchar_t buffer[128] = {};
    const int written = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 128);
    return written > 0 ? Narrow(std::wstring_view(buffer, static_cast<std::size_t>(written - 1))) : std::string();
}

TEST(LocaleFormatWinTest, GivesTheUserLocaleValuesWithoutTheirTerminator) {
    Win32LocaleFormat format;
    const std::string pattern = format.ShortDatePattern();
    EXPECT_FALSE(pattern.empty());
    EXPECT_EQ(pattern, Expected(LOCALE_SSHORTDATE));

    const std::string separator = format.DecimalSeparator();
    EXPECT_FALSE(separator.empty());
    EXPECT_EQ(separator, Expected(LOCALE_SDECIMAL));
}

}  // namespace
}  // namespace ovp::win
