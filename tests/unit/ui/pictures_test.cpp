#include "ui/pictures.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/temp_dir.h"
#include "ui/tooltip_links.h"

namespace ovp {
namespace {

TEST(PicturesTest, TheStatusWindowShowsTheBrandsPictureOnlyWhenTheBrandFileNamesOneThatIsThere) {
    test::TempDir images;
    test::WriteAll(images / "brand.ico", "icon");
    struct Case {
        bool brand;
        const char* customIcon;
        const char* formIcon;
    };
    const Case cases[] = {
        {false, "brand.ico", "ovlog.ico"},  // a custom icon without the brand file counts for nothing
        {true, "brand.ico", "brand.ico"},
        {true, "missing.ico", "ovlog.ico"},
        {true, "", "ovlog.ico"},
    };
    for (const Case& c : cases) {
        ProductSettings settings;
        settings.brandFileApplied = c.brand;
        settings.customIconFile = c.customIcon;
        const StatusWindowPictures pictures = StatusPictures(settings, images.Path());
        EXPECT_EQ(pictures.formIcon, images / c.formIcon) << c.customIcon;
        EXPECT_EQ(pictures.logo, images / "TopRightLogo.bmp");
    }
    EXPECT_EQ(PictureFile(images.Path(), PictureKey(kSmallButtonPictures, true)), images / "Small Btn2.bmp");
}

TEST(PicturesTest, TheHandPointerComesFromTheImagesFolderAndOtherwiseFromTheSystem) {
    test::TempDir images;
    EXPECT_EQ(HandCursorFile(images.Path()), std::nullopt);
    std::filesystem::create_directories(images / "Hand.ico");  // a folder is no picture
    EXPECT_EQ(HandCursorFile(images.Path()), std::nullopt);

    test::TempDir other;
    test::WriteAll(other / "Hand.ico", "icon");
    EXPECT_EQ(HandCursorFile(other.Path()), other / "Hand.ico");
}

TEST(PicturesTest, TheHandClicksWithTheTipOfItsTopmostFinger) {
    struct Case {
        const char* name;
        std::vector<const char*> rows;  // '#' opaque
        PixelPoint spot;
    };
    const Case cases[] = {
        {"finger in the second row", {"....", ".##.", "####"}, {1, 1}},
        {"first run of the top row", {"##.#", "####"}, {0, 0}},
        {"run to the right edge", {"..###"}, {3, 0}},
        {"nothing opaque", {"...", "..."}, {0, 0}},
    };
    for (const Case& c : cases) {
        const int width = static_cast<int>(std::string_view(c.rows.front()).size());
        std::vector<unsigned char> opaque;
        for (const char* row : c.rows) {
            for (const char* p = row; *p != '\0'; ++p) {
                opaque.push_back(*p == '#' ? 1 : 0);
            }
        }
        EXPECT_EQ(FingertipHotSpot(opaque, width, static_cast<int>(c.rows.size())), c.spot) << c.name;
    }
    // Fewer flags than the size says: no guess.
    const unsigned char one[] = {1};
    EXPECT_EQ(FingertipHotSpot(one, 2, 2), (PixelPoint{0, 0}));
}

TEST(TooltipLinkTest, TheFirstLinksTargetIsItsHrefOrElseItsWords) {
    const std::pair<const char*, const char*> cases[] = {
        {R"(See <a href="https://www.example.com/up">the plans</a>.)", "https://www.example.com/up"},
        {"See <A HREF='https://example.com/a'>a</A> or <a href=\"https://example.com/b\">b</a>",
         "https://example.com/a"},
        {"Open <a>https://www.example.com/</a> now", "https://www.example.com/"},
        {"<a id=\"x\">words</a>", "words"},
        {"<abbr>no link</abbr>", ""},
        {"<a href=\"https://example.com\">never closed", ""},
        {"plain text", ""},
    };
    for (const auto& [text, target] : cases) {
        EXPECT_EQ(TooltipLinkTarget(text), target) << text;
    }
}

}  // namespace
}  // namespace ovp
