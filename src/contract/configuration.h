#pragma once
// Product settings from Configuration.ini (application folder) and the brand file
// Images\Config.txt, and the names derived from them. Start-up uses them in this order:
//   1. ReadConfiguration; nullopt ends the program without a message;
//   2. ReadBrandFile and, when it exists, ApplyBrandFile;
//   3. ApplyEmptyNameRule;
//   4. BuildExecutableNames, so that the names follow the settings as they finally are.
// The parsers take the files' bytes, so tests and fuzz targets can feed them directly.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/ini_text.h"
#include "contract/product_config.h"
#include "platform/locale_text.h"

namespace ovp {

// ---- How Configuration.ini stores its keys and values ------------------------------------------
// The only place that knows the stored form: the monitor looks up TransformKey(key) and passes the
// value found through RevealValue. The installer writes plain text today, so both are the identity;
// an installer that wants to store them differently changes these two functions and nothing else.
std::string TransformKey(std::string_view plainKey);
std::string RevealValue(std::string_view storedValue);

// One value: read whole, cut at its first NUL, trimmed of blanks and, when not empty, revealed.
std::string ConfigurationValue(const IniText& ini, std::string_view section, std::string_view key);

// ---- Configuration.ini ------------------------------------------------------------------------
// The product settings, or nullopt when ProductName, ProductInstallationName, ProductTreeViewName
// or ProductCaption is empty, ProductNumber is 0 (or not a number), ProductInstallationName
// cannot be one folder name (it becomes part of the product's folder paths, and start-up empties
// the start folder named after it), or ProductName cannot start one file name (it names the
// search file).
std::optional<ProductSettings> ProductSettingsFromIni(const IniText& ini);
std::optional<ProductSettings> ParseConfiguration(std::string_view fileBytes);
// Also nullopt when the file is missing or unreadable.
std::optional<ProductSettings> ReadConfiguration(const std::filesystem::path& appFolder);

// ---- Brand file -------------------------------------------------------------------------------
struct BrandFile {
    std::string productName;  // line 1
    std::string brandText;    // line 2, read but not used
    std::string iconFile;     // line 3: the custom tray icon in the images folder; "" when unusable
};

BrandFile ParseBrandFile(std::string_view fileBytes);
// nullopt when there is no brand file.
std::optional<BrandFile> ReadBrandFile(const std::filesystem::path& appFolder);
// The brand build: the brand file's product name also captions the windows, and the installation
// is the brand product's (number 1, installation name "Orvessa Professional").
void ApplyBrandFile(ProductSettings& settings, const BrandFile& brand);
// A product name that is blank (trimmed) or cannot start one file name (a brand file's first line
// may hold anything) gives the brand product's name, caption and installation, as an empty one does.
void ApplyEmptyNameRule(ProductSettings& settings);

// ---- Pictures ---------------------------------------------------------------------------------
// The normal picture of the tray and the main form, in the images folder.
inline constexpr std::string_view kNormalIconFile = "ovlog.ico";
// The named picture of the images folder, or, in the brand build, its custom picture wherever a
// normal, red or green one would show, as long as that file is there.
std::filesystem::path BrandedPicture(const ProductSettings& settings,
                                     const std::filesystem::path& imagesFolder,
                                     std::string_view name);

// ---- Derived names ----------------------------------------------------------------------------
ExecutableNames BuildExecutableNames(const ProductSettings& settings);
// The service's batch file: "Install" / "Start" / "Stop" + product word + "Service.bat".
std::string ServiceBatchFileName(ServiceBatch batch, const ExecutableNames& names);

// ProductName when it is one of the house names "Tallux" and "Orvessa Professional", otherwise
// ProductCaption.
std::string DisplayName(const ProductSettings& settings);
// Window titles of the failure messages (localised texts 1625 and 1633).
std::string FailureTitle(const ProductSettings& settings, ILocaleText& texts);
std::string LogonFailureTitle(const ProductSettings& settings, ILocaleText& texts);

}  // namespace ovp
