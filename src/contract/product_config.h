#pragma once
// Product settings from Configuration.ini and the brand file, and the names derived from them.

#include <filesystem>
#include <string>

namespace ovp {

struct WebLinks {
    std::string firewall, upgrade, accountUpgrade, login, forgotPwd, features, signup, update, support, setup, promote,
        website;
};

// Hosts and addresses the configuration names; defaults are reserved example names.
struct ServiceEndpoints {
    std::string notificationHost = "notify.example.com";
    std::string webDavHost = "webdav.example.com";
    std::string supportMail = "support@example.com";
    std::string feedbackLink = "https://www.example.com/feedback";
    // The service's web pages when ConnectionInfo names no DomainName.
    std::string webHost = "www.example.com";
};

struct ProductSettings {
    int productNumber = 0;  // 1: the brand build
    std::string productName;
    std::string installationName;
    std::string treeViewName;
    std::string caption;
    std::string exeGroup;
    std::string language;
    std::string domainName, ipAddress1, ipAddress2, port;
    WebLinks links;
    ServiceEndpoints endpoints;
    // From the brand file: the custom tray icon's file name (in the images folder), "" when none.
    bool brandFileApplied = false;
    std::string customIconFile;
};

inline constexpr int kBrandProductNumber = 1;

// The brand build: its own program names, help file and title, and no quota or drive entries.
inline bool IsBrandProduct(const ProductSettings& settings) {
    return settings.productNumber == kBrandProductNumber;
}

// The service's batch files in the application folder.
enum class ServiceBatch { Install, Start, Stop };

// The executable and file names of the product's parts.
struct ExecutableNames {
    std::string realTimeLibrary;
    std::string registryToIni;
    std::string background;
    std::string tray;
    std::string classic;
    std::string client;
    std::string service;
    std::string plugin;
    std::string backupSetSize;
    std::string contextMenu;
    std::string viewLibrary;           // "" for product number 1
    std::string contextMenuExtension;  // "" for product number 1
    std::string driveLauncher;         // "" for product number 1
    std::string productWord;           // batch file names
    std::string mutexName;
    std::string serviceName;
};

}  // namespace ovp
