#pragma once
// Lays out an application folder the way the product's installer and login would leave it, with
// the stand-ins in place of the engine: Configuration.ini, the images, the language files, the
// monitor, the service stand-in and its batch files, the background engine, main application,
// client and drive launcher stand-ins, the mail-paths, real-time and shell helper library
// stand-ins, the engine simulator, and a logged-in user.
// Every file name comes from the product's own configuration code, so the layout follows the
// names the monitor looks for. Used by the end-to-end tests and the demo.

#include <filesystem>
#include <string>
#include <string_view>

#include "contract/product_config.h"
#include "service/service_control.h"

namespace ovp::standin {

// Where the build put the monitor and the stand-ins.
struct BuiltPrograms {
    std::filesystem::path monitor;
    std::filesystem::path service;
    std::filesystem::path background;
    std::filesystem::path classic;  // the main application
    std::filesystem::path client;
    std::filesystem::path driveLauncher;
    std::filesystem::path mailPaths;    // the mail-paths companion library
    std::filesystem::path realTime;     // the real-time companion library
    std::filesystem::path shellHelper;  // the shell helper companion library
    std::filesystem::path simulator;    // the engine simulator
    std::filesystem::path urlRecorder;  // stands in for the web browser; stays where it was built
};
BuiltPrograms BuiltProgramPaths();

// The engine simulator's file name in the application folder.
inline constexpr std::string_view kSimulatorProgram = "OVPEngineSim.exe";

// The product's tray icons in the source tree (assets/Images), where the layout copies them from.
std::filesystem::path AssetImagesFolder();

// Product number 1 with the given installation name, reserved example hosts and example links.
ProductSettings ExampleProduct(std::string installationName);

// Configuration.ini as the installer writes it: every setting that is set (a product number of 0
// and empty texts are left out), UTF-8, CR LF.
std::string ConfigurationText(const ProductSettings& settings);
bool WriteConfiguration(const std::filesystem::path& appFolder, const ProductSettings& settings);

// The batch file: `sc create` / `sc start` / `sc stop` of the product's service, whose program is
// the service executable in the batch file's own folder (wherever the folder was installed).
std::string ServiceBatchText(ServiceBatch batch, const ExecutableNames& names);

// The icons of the tray status monitor, copied from the product's assets into the images folder.
bool WriteImages(const std::filesystem::path& appFolder);

// The product's language files, copied from its assets into the language folder.
bool WriteLanguageFiles(const std::filesystem::path& appFolder);

// The brand build's file, Images\Config.txt: the product name, a brand text and the custom tray
// icon's file name, with the normal icon copied into the images folder under that name. An empty
// icon name writes an empty third line and copies nothing; a name that is not a plain file name
// is refused (false), as the monitor would refuse to look it up.
bool WriteBrandFile(const std::filesystem::path& appFolder,
                    std::string_view customIconName,
                    std::string_view productName = "Orvessa Professional");

// The user that login leaves behind: "Default User name" of UserName.ini in its obscured form.
bool WriteLoggedInUser(const std::filesystem::path& appFolder,
                       const ProductSettings& settings,
                       std::string_view userName);

// Which parts LayOutApplicationFolder puts in place.
struct LayoutParts {
    bool configuration = true;
    bool images = true;
    bool languages = true;
    bool monitor = true;
    bool service = true;  // the service program and its three batch files
    bool background = true;
    bool classic = true;
    bool client = true;
    bool driveLauncher = true;  // only where the product has one (not product number 1)
    bool mailPaths = true;
    bool companions = true;  // the real-time and shell helper libraries
    bool simulator = true;
};

// Copies a program into the folder under the given file name.
bool CopyProgram(const std::filesystem::path& program, const std::filesystem::path& appFolder, std::string_view name);

// Makes the URL recorder the handler of http and https links, so that the links the monitor opens
// are recorded and no browser starts. Wine's ShellExecute takes a link's handler from
// HKEY_CLASSES_ROOT, that is the machine's classes (the user's Software\Classes, which Windows
// prefers, it does not consult), so this is for the test Wine prefix only.
bool RegisterUrlRecorder();

bool LayOutApplicationFolder(const std::filesystem::path& appFolder,
                             const ProductSettings& settings,
                             const LayoutParts& parts = {});

}  // namespace ovp::standin
