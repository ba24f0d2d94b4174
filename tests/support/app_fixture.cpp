#include "support/app_fixture.h"

#include "base/files.h"
#include "contract/configuration.h"
#include "contract/engine_contract.h"
#include "settings/obscure.h"

namespace ovp::test {

std::string GroupConfiguration(std::string_view installationName) {
    return "[ProductInfo]\r\nProductNumber=5\r\nProductName=Grp Online\r\nProductInstallationName=" +
           std::string(installationName) +
           "\r\nProductTreeViewName=Grp Tree\r\nProductCaption=Grp Caption\r\nExeGroup=Grp\r\nLanguage=English\r\n";
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
    return PlatformPorts{registry,  profiles,     clock, system,  processes, services, shell,      codePage,    random,
                         mailPaths, shellFolders, power, windows, files,     launcher, companions, secureRandom, http};
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
