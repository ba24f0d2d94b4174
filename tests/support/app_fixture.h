#pragma once
// An application folder in a fresh temporary folder, a fake for every port and the recording
// start-up host: what the tests of start-up and of the timers build their context from.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/startup_host.h"
#include "base/files.h"
#include "context/app_context.h"
#include "contract/configuration.h"
#include "contract/engine_contract.h"
#include "settings/obscure.h"
#include "support/fake_code_page.h"
#include "support/fake_http.h"
#include "support/fake_launcher.h"
#include "support/fake_power.h"
#include "support/fake_processes.h"
#include "support/fake_random.h"
#include "support/fake_shell.h"
#include "support/fake_windows.h"
#include "support/fakes.h"
#include "support/std_file_system.h"
#include "support/temp_dir.h"

namespace ovp::test {

// Configuration.ini of a product other than number 1: installation "Grp Backup", exe group "Grp".
inline std::string GroupConfiguration(std::string_view installationName = "Grp Backup") {
    return "[ProductInfo]\r\nProductNumber=5\r\nProductName=Grp Online\r\nProductInstallationName=" +
           std::string(installationName) +
           "\r\nProductTreeViewName=Grp Tree\r\nProductCaption=Grp Caption\r\nExeGroup=Grp\r\nLanguage=English\r\n";
}

// Records every call of start-up in order ("LoadMainForm", "StartTimer 5 2000", ...).
class RecordingStartupHost : public IStartupHost {
  public:
    bool SetCurrentFolder(const std::filesystem::path& folder) override {
        calls.push_back("SetCurrentFolder");
        currentFolder = folder;
        return true;
    }
    bool CreateAppMutex(std::string_view name) override {
        calls.push_back("CreateAppMutex " + std::string(name));
        return mutexCreated;
    }
    bool OtherInstanceRunning() override {
        calls.push_back("OtherInstanceRunning");
        return otherInstance;
    }
    int ScreenDpiX() override { return dpi; }
    bool LoadMainForm(AppContext& /*context*/) override {
        calls.push_back("LoadMainForm");
        return !failLoad;
    }
    void SetFormIcon(const std::filesystem::path& iconFile) override {
        calls.push_back("SetFormIcon");
        formIcon = iconFile;
    }
    void AddTrayIcon() override { calls.push_back("AddTrayIcon"); }
    void StartTimer(int timerId, std::uint32_t periodMs) override {
        calls.push_back("StartTimer " + std::to_string(timerId) + " " + std::to_string(periodMs));
    }
    void MinimizeAndHide() override { calls.push_back("MinimizeAndHide"); }
    void ShowWebManagementAlert(const WebAlert& alert) override { calls.push_back("WebAlert " + alert.text); }

    bool otherInstance = false;
    bool mutexCreated = true;
    bool failLoad = false;
    int dpi = 96;

    std::vector<std::string> calls;
    std::filesystem::path currentFolder;
    std::filesystem::path formIcon;
};

class AppFixture {
  public:
    AppFixture() : app(dir / "app") {
        CreateFolders(app);
        // An older system by default, where every tick looks at the service.
        system.version = OsVersion{true, 5, 1, 2600};
    }

    // Writes Configuration.ini into the application folder.
    void WriteConfiguration(std::string_view text = GroupConfiguration()) {
        WriteAll(app / contract::kConfigurationFile, text);
    }
    // The context for the configuration written.
    AppContext& Context() {
        if (!context_) {
            const std::optional<ProductSettings> settings = ReadConfiguration(app);
            context_ = std::make_unique<AppContext>(Ports(), app,
                                                    settings ? *settings : *ParseConfiguration(GroupConfiguration()));
        }
        return *context_;
    }
    // The user name file's current user, obscured as login stores it.
    void SetCurrentUser(std::string_view name) {
        profiles.Write(app / contract::kUserNameFile, contract::kRegistrySection, contract::kDefaultUserName,
                       Obscure(name));
    }

    PlatformPorts Ports() {
        return {registry,  profiles,     clock, system,  processes, services, shell,      codePage,     random,
                mailPaths, shellFolders, power, windows, files,     launcher, companions, secureRandom, http};
    }

    TempDir dir;
    // The application folder, one level down, so that tests can watch the folder beside it.
    std::filesystem::path app;
    FakeRegistry registry;
    FakeProfileStore profiles;
    FakeClock clock;
    FakeSystemInfo system;
    FakeProcesses processes;
    FakeServiceManager services;
    FakeShell shell;
    FakeCodePage codePage;
    ScriptedRandom random;
    FakeMailPaths mailPaths{profiles};
    FakeShellFolders shellFolders;
    FakePower power;
    FakeWindows windows;
    StdFileSystem files;
    FakeLauncher launcher{&clock};
    FakeCompanions companions;
    FakeSecureRandom secureRandom;
    FakeHttp http;

  private:
    std::unique_ptr<AppContext> context_;
};

}  // namespace ovp::test
