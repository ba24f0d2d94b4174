#include "context/tray_menu_model.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace ovp {
namespace {

TEST(TrayMenuModelTest, TheTrayPopupHoldsEveryItemInItsPlaceWithDesignStates) {
    const TrayMenuModel menu;
    const auto popup = menu.TrayPopup();
    ASSERT_EQ(popup.size(), kTrayPopupItemCount);
    for (std::size_t i = 0; i < popup.size(); ++i) {
        EXPECT_EQ(static_cast<std::size_t>(popup[i].item), i);
    }
    EXPECT_FALSE(menu.Item(TrayMenuItem::MnuQuotaExceeded).visible);
    EXPECT_TRUE(menu.Item(TrayMenuItem::BLLine).separator);
    EXPECT_FALSE(menu.Item(TrayMenuItem::BLLine).visible);
    EXPECT_FALSE(menu.Item(TrayMenuItem::mnuSession).visible || menu.Item(TrayMenuItem::mnuSession).enabled);
}

TEST(TrayMenuModelTest, CommandIdsMapBackToTheirItemsAndNothingElse) {
    EXPECT_EQ(ItemFromCommandId(CommandId(TrayMenuItem::MnuExit)), TrayMenuItem::MnuExit);
    EXPECT_EQ(ItemFromCommandId(CommandId(TrayMenuItem::mnuShutdown)), TrayMenuItem::mnuShutdown);
    EXPECT_EQ(ItemFromCommandId(kTrayMenuCommandBase - 1), std::nullopt);
    EXPECT_EQ(ItemFromCommandId(kTrayMenuCommandBase + static_cast<int>(kTrayMenuItemCount)), std::nullopt);
}

TEST(TrayMenuModelTest, LocalisedCaptionsReplaceTheBrandWordAndFallBackToEnglish) {
    test::FakeLocaleText texts;
    texts.texts[433] = "Tallux beenden";
    texts.texts[1442] = "Webverwaltung";
    TrayMenuModel menu;
    menu.ApplyLocalisedCaptions(texts, "Grp Online");
    EXPECT_EQ(menu.Item(TrayMenuItem::MnuExit).caption, "Grp Online beenden");
    EXPECT_EQ(menu.Item(TrayMenuItem::WebPlugin).caption, "Webverwaltung");
    EXPECT_EQ(menu.Item(TrayMenuItem::mnuCDP).caption, "Continuous Backup");
    EXPECT_EQ(menu.Item(TrayMenuItem::MnuViewLog).caption, "&Activity Log");  // the key letter stays
    EXPECT_EQ(menu.Item(TrayMenuItem::MnuAbout).caption, "&About");
}

}  // namespace
}  // namespace ovp
