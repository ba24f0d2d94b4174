#include "contract/configuration.h"

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/temp_dir.h"

namespace ovp {
namespace {

using namespace std::string_literals;

std::string ProductInfo(std::string_view number, std::string_view installationName = "Grp Backup") {
    return "[ProductInfo]\r\nProductNumber=" + std::string(number) +
           "\r\nProductName=Grp Online\r\nProductInstallationName=" + std::string(installationName) +
           "\r\nProductTreeViewName=Grp Tree\r\nProductCaption=Grp Caption\r\nExeGroup=Grp\r\nLanguage=Spanish\r\n";
}

TEST(ConfigurationTest, ReadsProductConnectionAndLinks) {
    const auto s =
        ParseConfiguration(ProductInfo("5") +
                           "[ConnectionInfo]\r\nDomainName=backup.example.com\r\nIPAddress1=127.0.0.1\r\n"
                           "Port=443\r\n[WebLink]\r\nAccountUpgradeLink=https://acc.example.com/u\r\n"
                           "UpgradeLink=https://up.example.com/\r\nSupportLink=\"https://s.example.com/\"\r\n");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->productNumber, 5);
    EXPECT_EQ(std::tie(s->productName, s->installationName, s->treeViewName, s->caption, s->exeGroup, s->language),
              std::tuple("Grp Online", "Grp Backup", "Grp Tree", "Grp Caption", "Grp", "Spanish"));
    EXPECT_EQ(std::tie(s->domainName, s->ipAddress1, s->port), std::tuple("backup.example.com", "127.0.0.1", "443"));
    EXPECT_EQ(std::tie(s->links.accountUpgrade, s->links.upgrade, s->links.support),
              std::tuple("https://acc.example.com/u", "https://up.example.com/", "https://s.example.com/"));
    EXPECT_FALSE(s->brandFileApplied);
}

TEST(ConfigurationTest, EveryRequiredValueAndANonZeroProductNumberAreNeeded) {
    for (const std::string_view key :
         {"ProductName", "ProductInstallationName", "ProductTreeViewName", "ProductCaption", "ProductNumber"}) {
        // A later filled value of the key must not count: the first occurrence wins.
        std::string text = ProductInfo("1");
        text.insert(text.find(std::string(key) + "="), std::string(key) + "=   \r\n");
        EXPECT_FALSE(ParseConfiguration(text)) << key;
    }
    for (const std::string_view number : {"0", "one", "99999999999"}) {  // the last is beyond int
        EXPECT_FALSE(ParseConfiguration(ProductInfo(number))) << number;
    }
    ASSERT_TRUE(ParseConfiguration(ProductInfo(" 7 ")));
    EXPECT_EQ(ParseConfiguration(ProductInfo(" 7 "))->productNumber, 7);
}

TEST(ConfigurationTest, AnInstallationNameGroupOrProductNameThatCouldNameAPathFails) {
    for (const std::string_view name : {"..", ".", "a\\b", "a/b", "C:x", "x.", "x<y"}) {
        EXPECT_FALSE(ParseConfiguration(ProductInfo("1", name))) << name;
    }
    EXPECT_TRUE(ParseConfiguration(ProductInfo("1", "Orvessa Professional")));
    std::string text = ProductInfo("2");
    text.replace(text.find("ExeGroup=Grp"), 12, "ExeGroup=..\\x\\Grp");
    EXPECT_FALSE(ParseConfiguration(text));
    // The product name starts the search file's name.
    for (const std::string_view name : {"..\\..\\Windows\\x", "a/b", "C:x", "x<y"}) {
        text = ProductInfo("2");
        text.replace(text.find("Grp Online"), 10, name);
        EXPECT_FALSE(ParseConfiguration(text)) << name;
    }
    text = ProductInfo("2");
    EXPECT_TRUE(ParseConfiguration(text.replace(text.find("Grp Online"), 10, "Grp Inc.")));
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

    // Without a domain, on the web host; [ServiceInfo] overrides only the values it names.
    const auto onWebHost =
        ParseConfiguration(ProductInfo("1") + "[ServiceInfo]\nWebHost=web.example.com\nSupportMail=\n");
    EXPECT_EQ(onWebHost->links.upgrade, "https://web.example.com/ovprof/jsp/OVPAppUpgradePlan.jsp?accName=");
    EXPECT_EQ(onWebHost->endpoints.supportMail, ServiceEndpoints{}.supportMail);
}

TEST(ConfigurationTest, FilesAreReadFromTheApplicationFolder) {
    test::TempDir app;
    EXPECT_FALSE(ReadConfiguration(app.Path()));
    EXPECT_FALSE(ReadBrandFile(app.Path()));
    test::WriteAll(app / "Configuration.ini", ProductInfo("1"));
    test::WriteAll(app / "Images/Config.txt", "Brand\r\nText\r\ntray.ico\r\n");
    EXPECT_TRUE(ReadConfiguration(app.Path()));
    EXPECT_EQ(ReadBrandFile(app.Path()).value_or(BrandFile{}).iconFile, "tray.ico");
}

TEST(BrandFileTest, MakesTheBrandProductAndKeepsASafeIcon) {
    ProductSettings settings = *ParseConfiguration(ProductInfo("5"));
    ApplyBrandFile(settings, ParseBrandFile("My Brand\r\nbrand text\r\n custom.ico \r\n"));
    ApplyEmptyNameRule(settings);
    EXPECT_EQ(std::tie(settings.productName, settings.caption, settings.installationName, settings.treeViewName),
              std::tuple("My Brand", "My Brand", "Orvessa Professional", "Grp Tree"));
    EXPECT_EQ(settings.productNumber, 1);
    EXPECT_TRUE(settings.brandFileApplied);
    EXPECT_EQ(settings.customIconFile, "custom.ico");
    EXPECT_EQ(BuildExecutableNames(settings).mutexName, "OVPMonitorexe");
    // An icon name that leaves the Images folder is no icon.
    for (const std::string_view file : {"B\nT\n..\\..\\other.ico\n", "B\nT\nC:\\x.ico\n", "B\nT\n"}) {
        EXPECT_EQ(ParseBrandFile(file).iconFile, "") << file;
    }
    // An empty or unsafe first line gives the brand product's names.
    for (const std::string_view file : {"", "  \t\nbrand\n", "..\\..\\x\nbrand\n", "a:b\n"}) {
        settings = *ParseConfiguration(ProductInfo("5"));
        ApplyBrandFile(settings, ParseBrandFile(file));
        ApplyEmptyNameRule(settings);
        EXPECT_EQ(std::tie(settings.productName, settings.caption, settings.installationName),
                  std::tuple("Orvessa Professional", "Orvessa Professional", "Orvessa Professional"));
    }
}

TEST(ExecutableNamesTest, ProductOneHasNoDriveLauncherOthersDeriveTheirNamesFromGroupAndInstallation) {
    EXPECT_EQ(BuildExecutableNames(*ParseConfiguration(ProductInfo("1"))).driveLauncher, "");
    ProductSettings settings = *ParseConfiguration(ProductInfo("5"));
    const ExecutableNames grp = BuildExecutableNames(settings);
    EXPECT_EQ(
        std::tie(grp.service, grp.mutexName, grp.serviceName, grp.driveLauncher, grp.plugin),
        std::tuple("Grp Service.exe", "GrpTrayexe", "Grp Backup Service", "GrpLaunchDrive.exe", "KMBackupPlugin.exe"));
    settings.productName = "Tallux";
    EXPECT_EQ(BuildExecutableNames(settings).plugin, "TalluxPlugin.exe");
}

TEST(DerivedNamesTest, DisplayNameAndFailureTitles) {
    ProductSettings settings = *ParseConfiguration(ProductInfo("5"));
    EXPECT_EQ(DisplayName(settings), "Grp Caption");
    settings.productName = "Orvessa Professional";
    EXPECT_EQ(DisplayName(settings), "Orvessa Professional");

    test::FakeLocaleText texts;
    EXPECT_EQ(FailureTitle(settings, texts), "Grp Caption  failure");
    EXPECT_EQ(LogonFailureTitle(settings, texts), "Grp Caption  Logon failure");
    texts.texts[1625] = "Fallo de Tallux";
    texts.texts[1633] = "Inicio\0junk"s;
    EXPECT_EQ(FailureTitle(settings, texts), "Grp Caption Fallo de Orvessa Professional ");
    EXPECT_EQ(LogonFailureTitle(settings, texts), "Grp Caption Inicio ");
}

}  // namespace
}  // namespace ovp
