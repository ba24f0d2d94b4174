#include "app_layout.h"

#include <windows.h>

#include <string>

#include "base/files.h"
#include "contract/configuration.h"
#include "contract/engine_contract.h"
#include "contract/folders.h"
#include "settings/current_user.h"
#include "win32/profile_store_win.h"

namespace ovp::standin {

namespace c = contract;

namespace {

// The build runs on Linux and passes Linux paths; under Wine the Linux root is drive Z:.
std::filesystem::path FromBuildPath(std::string_view buildPath) {
    std::string path(buildPath);
    if (!path.empty() && path.front() == '/') {
        path = "Z:" + path;
    }
    for (char& ch : path) {
        if (ch == '/') {
            ch = '\\';
        }
    }
    return PathFromUtf8(path);
}

void AddValue(std::string& text, std::string_view key, std::string_view value) {
    if (!value.empty()) {
        text.append(key).append("=").append(value).append("\r\n");
    }
}

void AddSection(std::string& text, std::string_view section) {
    text.append("[").append(section).append("]\r\n");
}

constexpr std::string_view kNormalIcon = "ovlog.ico";
constexpr std::string_view kBrandText = "Online backup";

}  // namespace

BuiltPrograms BuiltProgramPaths() {
    BuiltPrograms built;
    built.monitor = FromBuildPath(OVP_STANDIN_MONITOR_EXE);
    built.service = FromBuildPath(OVP_STANDIN_SERVICE_EXE);
    built.background = FromBuildPath(OVP_STANDIN_BACKGROUND_EXE);
    built.classic = FromBuildPath(OVP_STANDIN_CLASSIC_EXE);
    built.client = FromBuildPath(OVP_STANDIN_CLIENT_EXE);
    built.driveLauncher = FromBuildPath(OVP_STANDIN_DRIVE_LAUNCHER_EXE);
    built.mailPaths = FromBuildPath(OVP_STANDIN_MAIL_PATHS_DLL);
    built.realTime = FromBuildPath(OVP_STANDIN_REAL_TIME_DLL);
    built.shellHelper = FromBuildPath(OVP_STANDIN_SHELL_HELPER_DLL);
    built.simulator = FromBuildPath(OVP_STANDIN_SIMULATOR_EXE);
    built.urlRecorder = FromBuildPath(OVP_STANDIN_URL_RECORDER_EXE);
    return built;
}

std::filesystem::path AssetImagesFolder() {
    return FromBuildPath(OVP_STANDIN_ASSET_IMAGES);
}

ProductSettings ExampleProduct(std::string installationName) {
    ProductSettings settings;
    settings.productNumber = 1;
    settings.productName = "Orvessa Professional";
    settings.installationName = std::move(installationName);
    settings.treeViewName = "Orvessa Professional";
    settings.caption = "Orvessa Professional";
    settings.language = "English";
    settings.domainName = "backup.example.com";
    settings.ipAddress1 = "127.0.0.1";
    settings.ipAddress2 = "127.0.0.1";
    settings.port = "443";
    const std::string site = "https://www.example.com/";
    settings.links.firewall = site + "firewall";
    settings.links.upgrade = site + "upgrade";
    settings.links.accountUpgrade = site + "account-upgrade";
    settings.links.login = site + "login";
    settings.links.forgotPwd = site + "forgot-password";
    settings.links.features = site + "features";
    settings.links.signup = site + "signup";
    settings.links.update = site + "update";
    settings.links.support = site + "support";
    settings.links.setup = site + "setup";
    settings.links.promote = site + "promote";
    settings.links.website = site;
    return settings;
}

std::string ConfigurationText(const ProductSettings& s) {
    std::string text;
    AddSection(text, c::kProductInfo);
    AddValue(text, c::kProductNumber, s.productNumber != 0 ? std::to_string(s.productNumber) : "");
    AddValue(text, c::kProductName, s.productName);
    AddValue(text, c::kProductInstallationName, s.installationName);
    AddValue(text, c::kProductTreeViewName, s.treeViewName);
    AddValue(text, c::kProductCaption, s.caption);
    AddValue(text, c::kExeGroup, s.exeGroup);
    AddValue(text, c::kLanguage, s.language);
    AddSection(text, c::kConnectionInfo);
    AddValue(text, c::kDomainName, s.domainName);
    AddValue(text, c::kIPAddress1, s.ipAddress1);
    AddValue(text, c::kIPAddress2, s.ipAddress2);
    AddValue(text, c::kConnectionPort, s.port);
    AddSection(text, c::kWebLink);
    AddValue(text, c::kFirewallLink, s.links.firewall);
    AddValue(text, c::kUpgradeLink, s.links.upgrade);
    AddValue(text, c::kAccountUpgradeLink, s.links.accountUpgrade);
    AddValue(text, c::kLoginLink, s.links.login);
    AddValue(text, c::kForgotPwdLink, s.links.forgotPwd);
    AddValue(text, c::kFeaturesLink, s.links.features);
    AddValue(text, c::kSignupLink, s.links.signup);
    AddValue(text, c::kUpdateLink, s.links.update);
    AddValue(text, c::kSupportLink, s.links.support);
    AddValue(text, c::kSetupLink, s.links.setup);
    AddValue(text, c::kPromoteLink, s.links.promote);
    AddValue(text, c::kWebsiteLink, s.links.website);
    AddSection(text, c::kServiceInfo);
    AddValue(text, c::kNotificationHost, s.endpoints.notificationHost);
    AddValue(text, c::kWebDavHost, s.endpoints.webDavHost);
    AddValue(text, c::kSupportMail, s.endpoints.supportMail);
    AddValue(text, c::kFeedbackLink, s.endpoints.feedbackLink);
    AddValue(text, c::kWebHost, s.endpoints.webHost);
    return text;
}

bool WriteConfiguration(const std::filesystem::path& appFolder, const ProductSettings& settings) {
    return ReplaceFileBytes(appFolder / PathFromUtf8(c::kConfigurationFile), ConfigurationText(settings));
}

std::string ServiceBatchText(ServiceBatch batch, const ExecutableNames& names) {
    std::string text = "@echo off\r\nrem Stand-in for the engine's service batch file (test and demo equipment).\r\n";
    const std::string service = "\"" + names.serviceName + "\"";
    switch (batch) {
        case ServiceBatch::Install:
            // %~dp0 is this file's folder with its final "\"; the inner quotes keep a folder with
            // blanks from being split when the service manager starts the program.
            text += "sc create " + service + " binPath= \"\\\"%~dp0" + names.service + "\\\"\" start= demand\r\n";
            break;
        case ServiceBatch::Start:
            text += "sc start " + service + "\r\n";
            break;
        case ServiceBatch::Stop:
            text += "sc stop " + service + "\r\n";
            break;
    }
    return text;
}

bool WriteImages(const std::filesystem::path& appFolder) {
    const std::filesystem::path images = appFolder / PathFromUtf8(c::kImagesFolder);
    const std::filesystem::path assets = AssetImagesFolder();
    bool written = CreateFolders(images);
    // Every picture the project draws, as the installer installs them.
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(assets, error)) {
        const std::filesystem::path extension = entry.path().extension();
        if (extension == ".ico" || extension == ".bmp") {
            written = CopyFileOverwrite(entry.path(), images / entry.path().filename()) && written;
        }
    }
    return written && !error;
}

bool WriteLanguageFiles(const std::filesystem::path& appFolder) {
    const std::filesystem::path languages = appFolder / PathFromUtf8(c::kLanguageFolder);
    bool written = CreateFolders(languages);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(FromBuildPath(OVP_STANDIN_ASSET_LANG), error)) {
        if (entry.path().extension() == PathFromUtf8(c::kLanguageFileSuffix)) {
            written = CopyFileOverwrite(entry.path(), languages / entry.path().filename()) && written;
        }
    }
    return written && !error;
}

bool WriteBrandFile(const std::filesystem::path& appFolder,
                    std::string_view customIconName,
                    std::string_view productName) {
    if (!customIconName.empty() && !IsSafeFolderName(customIconName)) {
        return false;
    }
    const std::filesystem::path images = appFolder / PathFromUtf8(c::kImagesFolder);
    bool written = CreateFolders(images);
    if (!customIconName.empty()) {
        written =
            CopyFileOverwrite(AssetImagesFolder() / PathFromUtf8(kNormalIcon), images / PathFromUtf8(customIconName)) &&
            written;
    }
    const std::string text =
        std::string(productName) + "\r\n" + std::string(kBrandText) + "\r\n" + std::string(customIconName) + "\r\n";
    return ReplaceFileBytes(images / PathFromUtf8(c::kBrandFile), text) && written;
}

bool WriteLoggedInUser(const std::filesystem::path& appFolder,
                       const ProductSettings& settings,
                       std::string_view userName) {
    win::Win32ProfileStore store;
    const Folders folders(appFolder, settings.installationName);
    return CurrentUser(store, folders).WriteCurrentUserName(userName);
}

bool CopyProgram(const std::filesystem::path& program, const std::filesystem::path& appFolder, std::string_view name) {
    return CopyFileOverwrite(program, appFolder / PathFromUtf8(name));
}

bool RegisterUrlRecorder() {
    const std::wstring command = L"\"" + BuiltProgramPaths().urlRecorder.wstring() + L"\" \"%1\"";
    bool done = true;
    for (const std::wstring scheme : {L"http", L"https"}) {
        done = ::RegSetKeyValueW(HKEY_CLASSES_ROOT, (scheme + L"\\shell\\open\\command").c_str(), nullptr, REG_SZ,
                                 command.c_str(),
                                 static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS &&
               done;
    }
    return done;
}

bool LayOutApplicationFolder(const std::filesystem::path& appFolder,
                             const ProductSettings& settings,
                             const LayoutParts& parts) {
    const ExecutableNames names = BuildExecutableNames(settings);
    const BuiltPrograms built = BuiltProgramPaths();
    bool done = CreateFolders(appFolder);
    if (parts.configuration) {
        done = WriteConfiguration(appFolder, settings) && done;
    }
    if (parts.images) {
        done = WriteImages(appFolder) && done;
    }
    if (parts.languages) {
        done = WriteLanguageFiles(appFolder) && done;
    }
    if (parts.monitor) {
        done = CopyProgram(built.monitor, appFolder, names.tray) && done;
    }
    if (parts.service) {
        done = CopyProgram(built.service, appFolder, names.service) && done;
        for (const ServiceBatch batch : {ServiceBatch::Install, ServiceBatch::Start, ServiceBatch::Stop}) {
            done = ReplaceFileBytes(appFolder / PathFromUtf8(ServiceBatchFileName(batch, names)),
                                    ServiceBatchText(batch, names)) &&
                   done;
        }
    }
    if (parts.background) {
        done = CopyProgram(built.background, appFolder, names.background) && done;
    }
    if (parts.classic) {
        done = CopyProgram(built.classic, appFolder, names.classic) && done;
    }
    if (parts.client) {
        done = CopyProgram(built.client, appFolder, names.client) && done;
    }
    if (parts.driveLauncher && !names.driveLauncher.empty()) {
        done = CopyProgram(built.driveLauncher, appFolder, names.driveLauncher) && done;
    }
    if (parts.mailPaths) {
        done = CopyProgram(built.mailPaths, appFolder, c::kMailPathsLibrary) && done;
    }
    if (parts.companions) {
        done = CopyProgram(built.realTime, appFolder, names.realTimeLibrary) && done;
        done = CopyProgram(built.shellHelper, appFolder, c::kShellHelperLibrary) && done;
    }
    if (parts.simulator) {
        done = CopyProgram(built.simulator, appFolder, kSimulatorProgram) && done;
    }
    return done;
}

}  // namespace ovp::standin
