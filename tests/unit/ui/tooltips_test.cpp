#include "ui/tooltips.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "support/fakes.h"

namespace ovp {
namespace {

std::string Chars(char c, std::size_t n) {
    return std::string(n, c);
}

TEST(WrapToolTipTextTest, SplitsAtTheFirstBlankAtOrAfterTheMiddleOrTheThirds) {
    const std::pair<std::string, std::string> cases[] = {
        {Chars('a', 35) + " " + Chars('b', 34), Chars('a', 35) + " " + Chars('b', 34)},  // 70: one line
        // 80 characters: the middle is 40, the first blank from there at 44; the blank goes.
        {Chars('a', 30) + " " + Chars('b', 13) + " " + Chars('c', 35),
         Chars('a', 30) + " " + Chars('b', 13) + "\r\n" + Chars('c', 35)},
        {Chars('a', 40) + " " + Chars('b', 39),
         Chars('a', 40) + "\r\n" + Chars('b', 39)},  // a blank right at the middle
        // 150 characters: thirds at 50 and 100.
        {Chars('a', 50) + " " + Chars('b', 49) + " " + Chars('c', 20) + " " + Chars('d', 27),
         Chars('a', 50) + "\r\n" + Chars('b', 49) + "\r\n" + Chars('c', 20) + " " + Chars('d', 27)},
        // The only blank after one third lies beyond two thirds: two lines.
        {Chars('a', 120) + " " + Chars('b', 29), Chars('a', 120) + "\r\n" + Chars('b', 29)},
        {Chars('x', 100), Chars('x', 100)},  // no blank: one line
        {"a " + Chars('x', 200), "a " + Chars('x', 200)},
        // Authored breaks stay, and each line is measured on its own.
        {Chars('a', 66) + " \r\n" + Chars('b', 30), Chars('a', 66) + " \r\n" + Chars('b', 30)},
        {"short\n" + Chars('a', 40) + " " + Chars('b', 39), "short\n" + Chars('a', 40) + "\r\n" + Chars('b', 39)},
    };
    for (const auto& [text, wrapped] : cases) {
        EXPECT_EQ(WrapToolTipText(text), wrapped) << text;
    }
}

TEST(WrapToolTipTextTest, CountsCharactersNotBytes) {
    std::string seventy;  // 70 characters, 105 bytes
    for (int i = 0; i < 35; ++i) {
        seventy += "\xC3\xA9 ";
    }
    seventy.back() = 'x';
    EXPECT_EQ(WrapToolTipText(seventy), seventy);
    const std::string wrapped = WrapToolTipText(seventy + "\xC3\xA9");
    EXPECT_EQ(Split(wrapped, "\r\n").size(), 2u);
    EXPECT_TRUE(IsValidUtf8(wrapped));
}

TEST(ToolTipTableTest, TheFirstEqualKeyWinsAndTheLanguageFileHasTheLastWord) {
    const ToolTipEntry table[] = {{"frmA.cmd", 0, "first"}, {"frmA.cmd", 0, "second"}};
    ASSERT_NE(FindToolTip(table, "frmA.cmd"), nullptr);
    EXPECT_EQ(FindToolTip(table, "frmA.cmd")->english, "first");
    EXPECT_EQ(FindToolTip(table, "frmA.CMD"), nullptr);

    test::FakeLocaleText texts;
    EXPECT_EQ(ToolTipText(texts, "frmStatus.Cmd_Yes", "B"), "view the log file for the scheduled backup operation");
    texts.texts[5118] = "Ver el registro de la copia programada";
    EXPECT_EQ(ToolTipText(texts, "frmStatus.Cmd_Yes", "B"), "Ver el registro de la copia programada");
    EXPECT_EQ(ToolTipText(texts, "frmStatus.Nothing", "B"), "");
}

}  // namespace
}  // namespace ovp
