#include "win32/text_win.h"

#include <gtest/gtest.h>

namespace ovp::win {
namespace {

TEST(TextWinTest, WideAndNarrowRoundTripOutsideTheAnsiCodePage) {
    const std::string text = "Jörg 日本 \xF0\x9F\x98\x80";
    EXPECT_EQ(Wide(text), L"J\u00f6rg \u65e5\u672c \xD83D\xDE00");
    EXPECT_EQ(Narrow(Wide(text)), text);
}

}  // namespace
}  // namespace ovp::win
