#include "contract/locale_file.h"

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/temp_dir.h"

namespace ovp {
namespace {

using namespace std::string_literals;
using test::FakeLocaleText;
using test::TempDir;
using test::WriteAll;

TEST(LocaleFileTest, TextsKeepTheirBlanksAndUnderstandTheEscapes) {
    const LocaleTexts texts = ParseLocaleTexts(
        "\xEF\xBB\xBF"  // a BOM is not part of the first id
        "1 = day(s).\r\n"
        "2= day(s). \r\n"
        "3=a\\nb\\tc\\\\n d:\\images\\Hand.ico\n"
        "4=x=y\n"
        "; 5=comment\n"
        "  # 6=comment\n"
        "seven=not an id\n"
        "8\n"
        "1=second\n"
        "9=");
    EXPECT_EQ(
        texts,
        (LocaleTexts{{1, " day(s)."}, {2, " day(s). "}, {3, "a\nb\tc\\n d:\\images\\Hand.ico"}, {4, "x=y"}, {9, ""}}));
}

TEST(LocaleFileTest, ReadsTheLanguageFileOnFirstUseAndNothingForAMissingFileOrUnusableLanguage) {
    TempDir app;
    LocaleFile texts(app.Path(), "German");
    // Written after construction: the file is only read when a text is first asked for.
    WriteAll(app / "Lang/German.txt", "1625=Fehler\n");
    EXPECT_EQ(texts.Text(1625), "Fehler");
    EXPECT_EQ(texts.Text(1633), "");

    WriteAll(app / "Lang/.txt", "1=none\n");
    WriteAll(app / "secret.txt", "1=outside\n");
    for (const std::string_view language : {"French", "", "../secret", "..\\secret"}) {
        EXPECT_EQ(LocaleFile(app.Path(), language).Text(1), "") << language;
    }
}

TEST(LocaleStringTest, BrandWordIsReplacedOnlyInLocalisedTexts) {
    FakeLocaleText texts;
    texts.texts[1367] = "Salir de Tallux? Tallux";
    texts.texts[1] = "cut\0here"s;
    EXPECT_EQ(GetLocaleString(texts, 1), "cut");
    EXPECT_EQ(GetLocaleString(texts, 2), "");
    EXPECT_EQ(LocaleStringOr(texts, 1367, "unused", "My Backup"), "Salir de My Backup? My Backup");
    EXPECT_EQ(LocaleStringOr(texts, 1368, "Leave Tallux?", "My Backup"), "Leave Tallux?");
    EXPECT_EQ(ReplaceBrandWord("&TalluxE Drive", "Tallux Pro"), "&Tallux ProE Drive");
}

}  // namespace
}  // namespace ovp
