#include "context/tray_menu_model.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace ovp {
namespace {

TEST(TrayMenuModelTest, TheTrayPopupHoldsItsItemsInDesignOrderWithDesignStates) {
    const TrayMenuModel menu;
    const auto popup = menu.TrayPopup();
    ASSERT_EQ(popup.size(), 28u);
    EXPECT_EQ(popup.front().name, "MnuQuotaExceeded");
    EXPECT_EQ(popup[4].name, "MnuOptions");
    EXPECT_EQ(popup[4].caption, "&TalluxE Classic - Schedule Backup");
    EXPECT_EQ(popup[13].name, "mnuStop");
    EXPECT_EQ(popup[26].name, "MnuExit");
    EXPECT_EQ(popup.back().name, "MnuSessionlog");
    for (std::size_t i = 0; i < popup.size(); ++i) {
        EXPECT_EQ(static_cast<std::size_t>(popup[i].item), i);
    }

    EXPECT_FALSE(menu.Item(TrayMenuItem::MnuQuotaExceeded).visible);
    EXPECT_TRUE(menu.Item(TrayMenuItem::BLLine).separator);
    EXPECT_FALSE(menu.Item(TrayMenuItem::BLLine).visible);
    EXPECT_FALSE(menu.Item(TrayMenuItem::mnuSession).visible);
    EXPECT_FALSE(menu.Item(TrayMenuItem::mnuSession).enabled);
    EXPECT_FALSE(menu.Item(TrayMenuItem::menuDesktop).enabled);
    EXPECT_FALSE(menu.Item(TrayMenuItem::mnuCDP).separator);
    EXPECT_TRUE(menu.Item(TrayMenuItem::blnklin4).visible);
    EXPECT_FALSE(menu.Item(TrayMenuItem::blnklin3).visible);
}

TEST(TrayMenuModelTest, TheOldMenuFollowsWithItsSevenItems) {
    const TrayMenuModel menu;
    const auto old = menu.OldTrayMenu();
    ASSERT_EQ(old.size(), 7u);
    EXPECT_EQ(old.front().name, "MnuOpen");
    EXPECT_EQ(old.back().name, "mnuShutdown");
    EXPECT_EQ(old.back().caption, "&Exit");
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
    EXPECT_EQ(menu.Item(TrayMenuItem::MnuAbout).caption, "&About");
}

TEST(TrayMenuModelTest, HideAlsoDisables) {
    TrayMenuModel menu;
    menu.Hide(TrayMenuItem::MnuOpenDrive);
    EXPECT_FALSE(menu.Item(TrayMenuItem::MnuOpenDrive).visible);
    EXPECT_FALSE(menu.Item(TrayMenuItem::MnuOpenDrive).enabled);
}

}  // namespace
}  // namespace ovp
