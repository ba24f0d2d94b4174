#include "contract/configuration.h"

#include <limits>
#include <vector>

#include "base/files.h"
#include "base/text.h"
#include "contract/engine_contract.h"
#include "contract/folders.h"
#include "contract/locale_file.h"

namespace ovp {

namespace c = contract;

namespace {

constexpr std::string_view kTalluxName = "Tallux";
constexpr int kFailureTextId = 1625;
constexpr int kLogonFailureTextId = 1633;

// Overrides a built-in default only with a value that is really there.
void ReadInto(std::string& target, const IniText& ini, std::string_view key) {
    std::string value = ConfigurationValue(ini, c::kServiceInfo, key);
    if (!value.empty()) {
        target = std::move(value);
    }
}

int ParseProductNumber(std::string_view text) {
    const long long number = ParseIntegerOr(text, 0);
    const bool fits = number >= std::numeric_limits<int>::min() && number <= std::numeric_limits<int>::max();
    return fits ? static_cast<int>(number) : 0;
}

WebLinks ReadLinks(const IniText& ini) {
    const auto link = [&ini](std::string_view key) { return ConfigurationValue(ini, c::kWebLink, key); };
    WebLinks links;
    links.firewall = link(c::kFirewallLink);
    links.upgrade = link(c::kUpgradeLink);
    links.accountUpgrade = link(c::kAccountUpgradeLink);
    links.login = link(c::kLoginLink);
    links.forgotPwd = link(c::kForgotPwdLink);
    links.features = link(c::kFeaturesLink);
    links.signup = link(c::kSignupLink);
    links.update = link(c::kUpdateLink);
    links.support = link(c::kSupportLink);
    links.setup = link(c::kSetupLink);
    links.promote = link(c::kPromoteLink);
    links.website = link(c::kWebsiteLink);
    return links;
}

ServiceEndpoints ReadEndpoints(const IniText& ini) {
    ServiceEndpoints endpoints;
    ReadInto(endpoints.notificationHost, ini, c::kNotificationHost);
    ReadInto(endpoints.webDavHost, ini, c::kWebDavHost);
    ReadInto(endpoints.supportMail, ini, c::kSupportMail);
    ReadInto(endpoints.feedbackLink, ini, c::kFeedbackLink);
    ReadInto(endpoints.webHost, ini, c::kWebHost);
    return endpoints;
}

// The product name starts the search file's name in the application folder, which the monitor
// writes: it must not lead out of that folder.
bool IsUsableProductName(std::string_view name) {
    return !TrimWhitespace(name).empty() && IsSafeFolderName(std::string(name) + std::string(c::kSearchFileSuffix));
}

// The installation name becomes a folder name and the executable group the start of every
// engine executable's file name, which the monitor starts and ends: neither may name a path.
bool HasRequiredValues(const ProductSettings& settings) {
    return IsUsableProductName(settings.productName) && !settings.installationName.empty() &&
           !settings.treeViewName.empty() && !settings.caption.empty() && settings.productNumber != 0 &&
           IsSafeFolderName(settings.installationName) &&
           (settings.exeGroup.empty() || IsSafeFolderName(settings.exeGroup));
}

// The file's lines without their line ends; an empty file has one empty line.
std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines = Split(text, "\n");
    for (std::string& line : lines) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
    }
    return lines;
}

std::string PreferLocalised(ILocaleText& texts, int id, std::string_view englishText, std::string_view brandName) {
    const std::string text = ReplaceBrandWord(GetLocaleString(texts, id), brandName);
    return text.empty() ? std::string(englishText) : text + " ";
}

}  // namespace

std::string TransformKey(std::string_view plainKey) {
    return std::string(plainKey);
}

std::string RevealValue(std::string_view storedValue) {
    return std::string(storedValue);
}

std::string ConfigurationValue(const IniText& ini, std::string_view section, std::string_view key) {
    const std::string value = Trim(CutAtNul(ini.Get(section, TransformKey(key))));
    return value.empty() ? value : RevealValue(value);
}

std::optional<ProductSettings> ProductSettingsFromIni(const IniText& ini) {
    const auto product = [&ini](std::string_view key) { return ConfigurationValue(ini, c::kProductInfo, key); };
    const auto connection = [&ini](std::string_view key) { return ConfigurationValue(ini, c::kConnectionInfo, key); };

    ProductSettings settings;
    settings.productNumber = ParseProductNumber(product(c::kProductNumber));
    settings.productName = product(c::kProductName);
    settings.installationName = product(c::kProductInstallationName);
    settings.treeViewName = product(c::kProductTreeViewName);
    settings.caption = product(c::kProductCaption);
    settings.exeGroup = product(c::kExeGroup);
    settings.language = product(c::kLanguage);
    settings.domainName = connection(c::kDomainName);
    settings.ipAddress1 = connection(c::kIPAddress1);
    settings.ipAddress2 = connection(c::kIPAddress2);
    settings.port = connection(c::kConnectionPort);
    settings.links = ReadLinks(ini);
    settings.endpoints = ReadEndpoints(ini);

    if (settings.links.accountUpgrade.empty()) {
        const std::string& host = settings.domainName.empty() ? settings.endpoints.webHost : settings.domainName;
        settings.links.accountUpgrade = "https://" + host + std::string(c::kAccountUpgradePath);
        settings.links.upgrade = settings.links.accountUpgrade;
    }
    if (!HasRequiredValues(settings)) {
        return std::nullopt;
    }
    return settings;
}

std::optional<ProductSettings> ParseConfiguration(std::string_view fileBytes) {
    return ProductSettingsFromIni(IniText::FromFileBytes(fileBytes));
}

std::optional<ProductSettings> ReadConfiguration(const std::filesystem::path& appFolder) {
    const auto bytes = ReadFileBytes(appFolder / PathFromUtf8(c::kConfigurationFile));
    if (!bytes) {
        return std::nullopt;
    }
    return ParseConfiguration(*bytes);
}

BrandFile ParseBrandFile(std::string_view fileBytes) {
    const std::vector<std::string> lines = Lines(DecodeTextFile(fileBytes));
    const auto line = [&lines](std::size_t index) {
        return index < lines.size() ? CutAtNul(lines[index]) : std::string();
    };
    BrandFile brand;
    brand.productName = line(0);
    brand.brandText = line(1);
    // The icon is looked up in the images folder: a name that could point elsewhere is no icon.
    brand.iconFile = TrimWhitespace(line(2));
    if (!IsSafeFolderName(brand.iconFile)) {
        brand.iconFile.clear();
    }
    return brand;
}

std::optional<BrandFile> ReadBrandFile(const std::filesystem::path& appFolder) {
    const auto file = appFolder / PathFromUtf8(c::kImagesFolder) / PathFromUtf8(c::kBrandFile);
    const auto bytes = ReadFileBytes(file);
    if (!bytes) {
        return std::nullopt;
    }
    return ParseBrandFile(*bytes);
}

void ApplyBrandFile(ProductSettings& settings, const BrandFile& brand) {
    settings.productName = brand.productName;
    settings.caption = settings.productName;
    settings.installationName = std::string(c::kBrandInstallationName);
    settings.productNumber = kBrandProductNumber;
    settings.brandFileApplied = true;
    settings.customIconFile = brand.iconFile;
}

void ApplyEmptyNameRule(ProductSettings& settings) {
    if (!IsUsableProductName(settings.productName)) {
        settings.productName = std::string(c::kBrandInstallationName);
        settings.caption = settings.productName;
        settings.installationName = settings.productName;
    }
}

ExecutableNames BuildExecutableNames(const ProductSettings& settings) {
    ExecutableNames names;
    if (IsBrandProduct(settings)) {
        names.realTimeLibrary = c::kBrandRealTimeLibrary;
        names.registryToIni = c::kBrandRegistryToIni;
        names.background = c::kBrandBackground;
        names.tray = c::kBrandTray;
        names.classic = c::kBrandClassic;
        names.client = c::kBrandClient;
        names.service = c::kBrandService;
        names.plugin = c::kBrandPlugin;
        names.backupSetSize = c::kBrandBackupSetSize;
        names.contextMenu = c::kBrandContextMenu;
        names.productWord = c::kBrandProductWord;
        names.mutexName = c::kBrandMutexName;
        names.serviceName = c::kBrandServiceName;
        return names;
    }
    const std::string& group = settings.exeGroup;
    const auto grouped = [&group](std::string_view suffix) { return group + std::string(suffix); };
    names.realTimeLibrary = grouped(c::kGroupRealTimeLibrary);
    names.registryToIni = grouped(c::kGroupRegistryToIni);
    names.background = grouped(c::kGroupBackground);
    names.tray = grouped(c::kGroupTray);
    names.classic = grouped(c::kGroupClassic);
    names.client = grouped(c::kGroupClient);
    names.service = grouped(c::kGroupService);
    names.plugin = settings.productName == kTalluxName ? c::kTalluxPlugin : c::kOtherPlugin;
    names.backupSetSize = grouped(c::kGroupBackupSetSize);
    names.contextMenu = grouped(c::kGroupContextMenu);
    names.viewLibrary = grouped(c::kGroupViewLibrary);
    names.contextMenuExtension = grouped(c::kGroupContextMenuExtension);
    names.driveLauncher = grouped(c::kGroupDriveLauncher);
    names.productWord = group;
    names.mutexName = grouped(c::kGroupMutexName);
    names.serviceName = settings.installationName + std::string(c::kGroupServiceName);
    return names;
}

std::string ServiceBatchFileName(ServiceBatch batch, const ExecutableNames& names) {
    const std::string_view verb = batch == ServiceBatch::Install ? c::kInstallBatchVerb
                                  : batch == ServiceBatch::Start ? c::kStartBatchVerb
                                                                 : c::kStopBatchVerb;
    return std::string(verb) + names.productWord + std::string(c::kServiceBatchSuffix);
}

std::filesystem::path BrandedPicture(const ProductSettings& settings,
                                     const std::filesystem::path& imagesFolder,
                                     std::string_view name) {
    if (settings.brandFileApplied && !settings.customIconFile.empty()) {
        std::filesystem::path custom = imagesFolder / PathFromUtf8(settings.customIconFile);
        if (FileExists(custom)) {
            return custom;
        }
    }
    return imagesFolder / PathFromUtf8(name);
}

std::string DisplayName(const ProductSettings& settings) {
    const bool houseName = settings.productName == kTalluxName || settings.productName == c::kBrandInstallationName;
    return houseName ? settings.productName : settings.caption;
}

std::string FailureTitle(const ProductSettings& settings, ILocaleText& texts) {
    return settings.caption + " " + PreferLocalised(texts, kFailureTextId, " failure", settings.productName);
}

std::string LogonFailureTitle(const ProductSettings& settings, ILocaleText& texts) {
    return settings.caption + " " + PreferLocalised(texts, kLogonFailureTextId, " Logon failure", settings.productName);
}

}  // namespace ovp
