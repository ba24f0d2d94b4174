#include "win32/code_page_win.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace ovp::win {
namespace {

TEST(CodePageWinTest, AsciiRoundTripsAndNothingOutsideAnAnsiCodePageIsCalledExact) {
    Win32CodePage codePage;
    const AnsiText ascii = codePage.Utf8ToAnsi("backup@example.com;");
    EXPECT_TRUE(ascii.exact);
    EXPECT_EQ(ascii.bytes, "backup@example.com;");
    EXPECT_EQ(codePage.AnsiToUtf8(ascii.bytes), "backup@example.com;");
    EXPECT_TRUE(codePage.Utf8ToAnsi("").exact);

    // No ANSI code page holds an emoji; invalid UTF-8 is not exact either.
    EXPECT_FALSE(codePage.Utf8ToAnsi("a\xF0\x9F\x98\x80\x62").exact);
    EXPECT_FALSE(codePage.Utf8ToAnsi("a\xFF\x62").exact);
}

TEST(CodePageWinTest, WesternCodePageKeepsItsOwnLettersAndRefusesLookAlikes) {
    if (::GetACP() != 1252) {
        GTEST_SKIP() << "system code page " << ::GetACP();
    }
    Win32CodePage codePage;
    const AnsiText umlaut = codePage.Utf8ToAnsi("J\xC3\xB6rg \xE2\x82\xAC");  // "Jörg €"
    EXPECT_TRUE(umlaut.exact);
    EXPECT_EQ(umlaut.bytes, "J\xF6rg \x80");
    EXPECT_EQ(codePage.AnsiToUtf8(umlaut.bytes), "J\xC3\xB6rg \xE2\x82\xAC");
    // "ł" has a best-fit "l" in Windows-1252; taking it would store another address.
    EXPECT_FALSE(codePage.Utf8ToAnsi("\xC5\x82ukasz@example.com").exact);
}

}  // namespace
}  // namespace ovp::win
