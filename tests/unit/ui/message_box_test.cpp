#include "ui/message_box.h"

#include <gtest/gtest.h>

#include "support/fake_command_host.h"
#include "support/fakes.h"

namespace ovp {
namespace {

TEST(MessageBoxLayoutTest, LinesFollowTheSixtyFiveCharacterWrap) {
    const std::string word64(64, 'w');
    const std::pair<std::string, int> cases[] = {
        {"", 1},
        {std::string(65, 'a'), 1},
        {std::string(66, 'a'), 2},  // a word longer than a line is cut
        {std::string(131, 'a'), 3},
        {word64 + " b", 2},
        {"a " + word64, 2},  // a word that does not fit moves down whole
        {"first\r\nsecond\nthird\rfourth", 4},
        {"ends with a break\r\n", 2},
    };
    for (const auto& [message, lines] : cases) {
        EXPECT_EQ(MessageLineCount(message), lines) << message;
    }
    std::string umlauts;  // 65 characters of two bytes each
    for (int i = 0; i < 65; ++i) {
        umlauts += "\xC3\xA4";
    }
    EXPECT_EQ(MessageLineCount(umlauts), 1);
}

TEST(MessageBoxLayoutTest, TheBoxGrowsLineByLineUpToItsLimitAndThenScrolls) {
    EXPECT_EQ(MessageBoxLayoutForLines(1).visibleLines, kMessageMinLines);
    for (int lines = kMessageMinLines; lines <= kMessageMaxLines; ++lines) {
        EXPECT_EQ(MessageBoxLayoutForLines(lines).visibleLines, lines);
        EXPECT_FALSE(MessageBoxLayoutForLines(lines).scrolls);
    }
    const MessageBoxLayout huge = MessageBoxLayoutFor(std::string(100000, 'z'));
    EXPECT_EQ(huge.visibleLines, kMessageMaxLines);
    EXPECT_TRUE(huge.scrolls);
}

// Each button word has its text in the user's language; a word without one, and any other caption,
// stays as given.
TEST(LocalisedMessageBoxTest, ButtonWordsTakeTheUsersLanguage) {
    test::FakeLocaleText texts;
    texts.texts = {{5200, "Vale"}, {5201, "Cerrar"}, {5202, "S\xC3\xAD"}, {5203, "No, gracias"}, {5205, "Seguir"}};
    test::ScriptedMessageBox shown;
    LocalisedMessageBox box(shown);
    box.UseTexts(texts, "Grp");
    Notice(box, "", 0);
    Question(box, "", 0);
    Question(box, "", "Proceed", "Cancel", 0);
    Question(box, "", "Save", "No", 0);
    std::string captions;
    for (const MessageBoxRequest& request : shown.shown) {
        captions += request.firstCaption + "/" + request.secondCaption + "|";
    }
    EXPECT_EQ(captions, "Vale/Cerrar|S\xC3\xAD/No, gracias|Seguir/Cancel|Save/No, gracias|");
}

}  // namespace
}  // namespace ovp
