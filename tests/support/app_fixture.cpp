#include "support/app_fixture.h"

#include "base/files.h"
#include "contract/configuration.h"
#include "contract/engine_contract.h"
#include "settings/obscure.h"

namespace ovp::test {

std::string GroupConfiguration(std::string_view installationName) {
    return "[ProductInfo]\r\n"
           "ProductNumber=5\r\n"
           "ProductName=Grp Online\r\n"
           "ProductInstallationName=" +
           std::string(installationName) +
           "\r\n"
           "ProductTreeViewName=Grp Tree\r\n"
           "ProductCaption=Grp Caption\r\n"
           "ExeGroup=Grp\r\n"
           "Language=English\r\n";
}

bool RecordingStartupHost::SetCurrentFolder(const std::filesystem::path& folder) {
    calls.push_back("SetCurrentFolder");
    currentFolder = folder;
    return true;
}

bool RecordingStartupHost::CreateAppMutex(std::string_view name) {
    calls.push_back("CreateAppMutex " + std::string(name));
    mutexName = name;
    return mutexCreated;
}

bool RecordingStartupHost::OtherInstanceRunning() {
    calls.push_back("OtherInstanceRunning");
    return otherInstance;
}

bool RecordingStartupHost::LoadMainForm(AppContext& /*context*/) {
    calls.push_back("LoadMainForm");
    return !failLoad;
}

void RecordingStartupHost::SetFormIcon(const std::filesystem::path& iconFile) {
    calls.push_back("SetFormIcon");
    formIcon = iconFile;
}

void RecordingStartupHost::AddTrayIcon() {
    calls.push_back("AddTrayIcon");
}

void RecordingStartupHost::StartTimer(int timerId, std::uint32_t periodMs) {
    calls.push_back("StartTimer " + std::to_string(timerId) + " " + std::to_string(periodMs));
}

void RecordingStartupHost::MinimizeAndHide() {
    calls.push_back("MinimizeAndHide");
}

AppFixture::AppFixture() : app(dir / "app") {
    CreateFolders(app);
    // An older system by default, where every tick looks at the service.
    system.version = OsVersion{true, 5, 1, 2600};
}

void AppFixture::WriteConfiguration(std::string_view text) {
    WriteAll(app / contract::kConfigurationFile, text);
}

PlatformPorts AppFixture::Ports() {
    return PlatformPorts{registry, profiles, clock,     system,       processes, services, shell,
                         codePage, random,   mailPaths, shellFolders, power,     windows};
}

AppContext& AppFixture::Context() {
    if (!context_) {
        std::optional<ProductSettings> settings = ReadConfiguration(app);
        if (!settings) {
            settings = ParseConfiguration(GroupConfiguration());
        }
        context_ = std::make_unique<AppContext>(Ports(), app, *settings);
    }
    return *context_;
}

void AppFixture::SetCurrentUser(std::string_view name) {
    profiles.Write(app / contract::kUserNameFile, contract::kRegistrySection, contract::kDefaultUserName,
                   Obscure(name));
}

}  // namespace ovp::test
