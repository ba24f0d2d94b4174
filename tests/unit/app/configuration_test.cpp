#include "app/configuration.h"

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/temp_dir.h"

namespace ovp {
namespace {

using namespace std::string_literals;
using test::FakeLocaleText;
using test::TempDir;
using test::WriteAll;

std::string ProductInfo(std::string_view number, std::string_view installationName = "Grp Backup") {
    return "[ProductInfo]\r\n"
           "ProductNumber=" +
           std::string(number) +
           "\r\n"
           "ProductName=Grp Online\r\n"
           "ProductInstallationName=" +
           std::string(installationName) +
           "\r\n"
           "ProductTreeViewName=Grp Tree\r\n"
           "ProductCaption=Grp Caption\r\n"
           "ExeGroup=Grp\r\n"
           "Language=Spanish\r\n";
}

TEST(ConfigurationTest, ReadsProductConnectionAndLinks) {
    const auto settings =
        ParseConfiguration(ProductInfo("5") +
                           "[ConnectionInfo]\r\nDomainName=backup.example.com\r\n"
                           "IPAddress1=127.0.0.1\r\nPort=443\r\n"
                           "[WebLink]\r\nAccountUpgradeLink=https://acc.example.com/u\r\n"
                           "UpgradeLink=https://up.example.com/\r\nSupportLink=\"https://s.example.com/\"\r\n");
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->productNumber, 5);
    EXPECT_EQ(settings->productName, "Grp Online");
    EXPECT_EQ(settings->installationName, "Grp Backup");
    EXPECT_EQ(settings->treeViewName, "Grp Tree");
    EXPECT_EQ(settings->caption, "Grp Caption");
    EXPECT_EQ(settings->exeGroup, "Grp");
    EXPECT_EQ(settings->language, "Spanish");
    EXPECT_EQ(settings->domainName, "backup.example.com");
    EXPECT_EQ(settings->ipAddress1, "127.0.0.1");
    EXPECT_EQ(settings->port, "443");
    EXPECT_EQ(settings->links.accountUpgrade, "https://acc.example.com/u");
    EXPECT_EQ(settings->links.upgrade, "https://up.example.com/");
    EXPECT_EQ(settings->links.support, "https://s.example.com/");
    EXPECT_FALSE(settings->brandFileApplied);
}

TEST(ConfigurationTest, EveryRequiredValueAndANonZeroProductNumberAreNeeded) {
    for (const std::string_view key :
         {"ProductName", "ProductInstallationName", "ProductTreeViewName", "ProductCaption", "ProductNumber"}) {
        // A later blank value of the key must not count: the first occurrence wins.
        std::string text = ProductInfo("1");
        const auto at = text.find(std::string(key) + "=");
        text.insert(at, std::string(key) + "=   \r\n");
        EXPECT_FALSE(ParseConfiguration(text)) << key;
    }
    EXPECT_FALSE(ParseConfiguration(ProductInfo("0")));
    EXPECT_FALSE(ParseConfiguration(ProductInfo("one")));
    EXPECT_FALSE(ParseConfiguration(ProductInfo("99999999999")));  // beyond int: no product number
    ASSERT_TRUE(ParseConfiguration(ProductInfo(" 7 ")));
    EXPECT_EQ(ParseConfiguration(ProductInfo(" 7 "))->productNumber, 7);
}

TEST(ConfigurationTest, AnInstallationNameThatIsNotOneFolderNameFails) {
    for (const std::string_view name : {"..", ".", "a\\b", "a/b", "C:x", "x.", "x<y", "..\\..\\Windows"}) {
        EXPECT_FALSE(ParseConfiguration(ProductInfo("1", name))) << name;
    }
    EXPECT_TRUE(ParseConfiguration(ProductInfo("1", "Orvessa Professional")));
}

TEST(ConfigurationTest, AnExecutableGroupThatNamesAPathFails) {
    std::string text = ProductInfo("2");
    EXPECT_TRUE(ParseConfiguration(text));
    text.replace(text.find("ExeGroup=Grp"), 12, "ExeGroup=..\\x\\Grp");
    EXPECT_FALSE(ParseConfiguration(text));
}

TEST(ConfigurationTest, ValuesAreReadWholeCutAtNulAndTrimmed) {
    const std::string longLink = "https://www.example.com/" + std::string(3000, 'p');
    const auto settings = ParseConfiguration(ProductInfo("1") + "[WebLink]\r\nLoginLink=" + longLink +
                                             "\r\nSignupLink=" + "  \"  s.example.com\0tail  \""s + "\r\n");
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->links.login, longLink);
    EXPECT_EQ(settings->links.signup, "s.example.com");
}

TEST(ConfigurationTest, AnEmptyAccountUpgradeLinkGivesTheUpgradePageOnTheServiceHost) {
    const auto onDomain =
        ParseConfiguration(ProductInfo("1") +
                           "[ConnectionInfo]\nDomainName=backup.example.com\n"
                           "[WebLink]\nUpgradeLink=https://old.example.com/\nAccountUpgradeLink=  \n");
    ASSERT_TRUE(onDomain);
    const std::string page = "https://backup.example.com/ovprof/jsp/OVPAppUpgradePlan.jsp?accName=";
    EXPECT_EQ(onDomain->links.accountUpgrade, page);
    EXPECT_EQ(onDomain->links.upgrade, page);

    const auto onWebHost = ParseConfiguration(ProductInfo("1") + "[ServiceInfo]\nWebHost=web.example.com\n");
    ASSERT_TRUE(onWebHost);
    EXPECT_EQ(onWebHost->links.upgrade, "https://web.example.com/ovprof/jsp/OVPAppUpgradePlan.jsp?accName=");
    EXPECT_EQ(ParseConfiguration(ProductInfo("1"))->links.upgrade,
              "https://www.example.com/ovprof/jsp/OVPAppUpgradePlan.jsp?accName=");
}

TEST(ConfigurationTest, ServiceInfoOverridesOnlyTheValuesItNames) {
    const auto settings =
        ParseConfiguration(ProductInfo("1") + "[ServiceInfo]\nNotificationHost=notify.test.invalid\nSupportMail=\n");
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->endpoints.notificationHost, "notify.test.invalid");
    EXPECT_EQ(settings->endpoints.supportMail, ServiceEndpoints{}.supportMail);
    EXPECT_EQ(settings->endpoints.webDavHost, ServiceEndpoints{}.webDavHost);
}

TEST(ConfigurationTest, FilesAreReadFromTheApplicationFolder) {
    TempDir app;
    EXPECT_FALSE(ReadConfiguration(app.Path()));
    EXPECT_FALSE(ReadBrandFile(app.Path()));
    WriteAll(app / "Configuration.ini", ProductInfo("1"));
    WriteAll(app / "Images/Config.txt", "Brand\r\nText\r\ntray.ico\r\n");
    ASSERT_TRUE(ReadConfiguration(app.Path()));
    ASSERT_TRUE(ReadBrandFile(app.Path()));
    EXPECT_EQ(ReadBrandFile(app.Path())->iconFile, "tray.ico");
}

TEST(BrandFileTest, MakesTheBrandProductAndKeepsTheIcon) {
    ProductSettings settings = *ParseConfiguration(ProductInfo("5"));
    ApplyBrandFile(settings, ParseBrandFile("My Brand\r\nbrand text\r\n custom.ico \r\n"));
    ApplyEmptyNameRule(settings);
    EXPECT_EQ(settings.productName, "My Brand");
    EXPECT_EQ(settings.caption, "My Brand");
    EXPECT_EQ(settings.installationName, "Orvessa Professional");
    EXPECT_EQ(settings.productNumber, 1);
    EXPECT_EQ(settings.treeViewName, "Grp Tree");
    EXPECT_TRUE(settings.brandFileApplied);
    EXPECT_EQ(settings.customIconFile, "custom.ico");
    EXPECT_EQ(BuildExecutableNames(settings).mutexName, "OVPMonitorexe");
}

TEST(BrandFileTest, AnEmptyFirstLineGivesTheBrandProductNames) {
    for (const std::string_view file : {"\r\nbrand\r\nicon.ico\r\n", "  \t\n", ""}) {
        ProductSettings settings = *ParseConfiguration(ProductInfo("5"));
        ApplyBrandFile(settings, ParseBrandFile(file));
        ApplyEmptyNameRule(settings);
        EXPECT_EQ(settings.productName, "Orvessa Professional");
        EXPECT_EQ(settings.caption, "Orvessa Professional");
        EXPECT_EQ(settings.installationName, "Orvessa Professional");
    }
}

TEST(BrandFileTest, AnIconNameThatLeavesTheImagesFolderIsNoIcon) {
    EXPECT_EQ(ParseBrandFile("B\nT\n..\\..\\other.ico\n").iconFile, "");
    EXPECT_EQ(ParseBrandFile("B\nT\nC:\\x.ico\n").iconFile, "");
    EXPECT_EQ(ParseBrandFile("B\nT\n").iconFile, "");
}

TEST(ExecutableNamesTest, ProductOneUsesTheFixedNames) {
    ProductSettings settings = *ParseConfiguration(ProductInfo("1"));
    const ExecutableNames names = BuildExecutableNames(settings);
    EXPECT_EQ(names.background, "OVProfBackground.exe");
    EXPECT_EQ(names.tray, "OVPMonitor.exe");
    EXPECT_EQ(names.service, "OVPService.exe");
    EXPECT_EQ(names.serviceName, "OVPService");
    EXPECT_EQ(names.productWord, "OrvessaProfessional");
    EXPECT_EQ(names.plugin, "OVPRDPlugin.exe");
    EXPECT_EQ(names.viewLibrary, "");
    EXPECT_EQ(names.driveLauncher, "");
}

TEST(ExecutableNamesTest, OtherProductsDeriveTheirNamesFromTheGroup) {
    ProductSettings settings = *ParseConfiguration(ProductInfo("5"));
    ExecutableNames names = BuildExecutableNames(settings);
    EXPECT_EQ(names.service, "Grp Service.exe");
    EXPECT_EQ(names.mutexName, "GrpTrayexe");
    EXPECT_EQ(names.serviceName, "Grp Backup Service");
    EXPECT_EQ(names.tray, "GrpTray.exe");
    EXPECT_EQ(names.client, "GrpClsClient.exe");
    EXPECT_EQ(names.registryToIni, "GrpReg2ini.exe");
    EXPECT_EQ(names.realTimeLibrary, "GrpRealTime.dll");
    EXPECT_EQ(names.contextMenuExtension, "GrpContextMenuExt.dll");
    EXPECT_EQ(names.productWord, "Grp");
    EXPECT_EQ(names.plugin, "KMBackupPlugin.exe");
    settings.productName = "Tallux";
    EXPECT_EQ(BuildExecutableNames(settings).plugin, "TalluxPlugin.exe");
}

TEST(DerivedNamesTest, DisplayNameAndFailureTitles) {
    ProductSettings settings = *ParseConfiguration(ProductInfo("5"));
    EXPECT_EQ(DisplayName(settings), "Grp Caption");
    settings.productName = "Orvessa Professional";
    EXPECT_EQ(DisplayName(settings), "Orvessa Professional");

    FakeLocaleText texts;
    EXPECT_EQ(FailureTitle(settings, texts), "Grp Caption  failure");
    EXPECT_EQ(LogonFailureTitle(settings, texts), "Grp Caption  Logon failure");
    texts.texts[1625] = "Fallo";
    texts.texts[1633] = "Inicio\0junk"s;
    EXPECT_EQ(FailureTitle(settings, texts), "Grp Caption Fallo ");
    EXPECT_EQ(LogonFailureTitle(settings, texts), "Grp Caption Inicio ");
}

}  // namespace
}  // namespace ovp
