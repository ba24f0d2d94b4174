#pragma once
// What the tests of the tray commands build on: the application fixture with user "alice" logged
// in, a scripted message box, a recording command host and a profile store that records writes.

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/files.h"
#include "base/text.h"
#include "commands/command_env.h"
#include "contract/configuration.h"
#include "settings/obscure.h"
#include "support/app_fixture.h"
#include "support/fake_command_host.h"
#include "support/fake_tray.h"

namespace ovp::test {

// Passes everything to the fake store and records each write as "Section/key=value", as stored
// (obscured keys and values stay obscured).
class RecordingProfiles : public IProfileStore {
  public:
    explicit RecordingProfiles(IProfileStore& store) : store_(store) {}
    std::string Read(const std::filesystem::path& file, std::string_view section, std::string_view key) override {
        return store_.Read(file, section, key);
    }
    bool Write(const std::filesystem::path& file,
               std::string_view section,
               std::string_view key,
               std::string_view value) override {
        writes.push_back(std::string(section) + "/" + std::string(key) + "=" + std::string(value));
        if (onWrite) {
            onWrite(section, key, value);
        }
        return store_.Write(file, section, key, value);
    }
    // The writes of that "Section/key", in order.
    std::vector<std::string> WritesOf(std::string_view sectionKey) const {
        std::vector<std::string> values;
        for (const std::string& write : writes) {
            if (write.starts_with(std::string(sectionKey) + "=")) {
                values.push_back(write.substr(sectionKey.size() + 1));
            }
        }
        return values;
    }
    std::vector<std::string> writes;
    std::function<void(std::string_view section, std::string_view key, std::string_view value)> onWrite;

  private:
    IProfileStore& store_;
};

class CommandFixture {
  public:
    explicit CommandFixture(std::string_view configuration = GroupConfiguration()) {
        fx.WriteConfiguration(configuration);
        fx.SetCurrentUser("alice");
        CreateFolders(UserFolder());
        context_ = std::make_unique<AppContext>(Ports(), fx.app, *ReadConfiguration(fx.app));
        context_->traceUser.MarkKnown();
        profiles.writes.clear();
    }

    AppContext& Context() { return *context_; }
    CommandEnv Env() { return CommandEnv{*context_, box, tray, host}; }

    std::filesystem::path UserFolder() { return fx.app / "Grp Backupalice"; }
    std::filesystem::path UserFile(std::string_view name) { return UserFolder() / name; }
    std::filesystem::path ProfileFile() { return UserFile("Grp Backup.ini"); }
    std::filesystem::path UserNameFile() { return fx.app / "UserName.ini"; }

    // BackupStatus of the profile.
    void Status(std::string_view key, std::string_view value) {
        fx.profiles.Write(ProfileFile(), "BackupStatus", key, value);
    }
    std::string Status(std::string_view key) { return fx.profiles.Read(ProfileFile(), "BackupStatus", key); }
    // Orvessa of the profile, obscured.
    void Obscured(std::string_view key, std::string_view value) {
        fx.profiles.Write(ProfileFile(), "Orvessa", Obscure(key), Obscure(value));
    }
    std::string Obscured(std::string_view key) {
        return Unobscure(fx.profiles.Read(ProfileFile(), "Orvessa", Obscure(key)));
    }
    // Orvessa of the profile, plain.
    std::string Plain(std::string_view key) { return fx.profiles.Read(ProfileFile(), "Orvessa", key); }
    // Orvessa of UserName.ini.
    void Shared(std::string_view key, std::string_view value) {
        fx.profiles.Write(UserNameFile(), "Orvessa", key, value);
    }
    std::string Shared(std::string_view key) { return fx.profiles.Read(UserNameFile(), "Orvessa", key); }

    // The trace lines without their date.
    std::vector<std::string> Traces() {
        std::vector<std::string> lines;
        const auto bytes = ReadFileBytes(UserFile("TrayTraceFile.txt"));
        if (!bytes) {
            return lines;
        }
        for (const std::string& line : Split(DecodeTextFile(*bytes), "\r\n")) {
            if (line.size() > 19) {
                lines.push_back(line.substr(19));
            }
        }
        return lines;
    }

    AppFixture fx;
    RecordingProfiles profiles{fx.profiles};
    ScriptedMessageBox box;
    FakeTrayIcon tray;
    RecordingCommandHost host;

  private:
    PlatformPorts Ports() {
        return PlatformPorts{fx.registry, profiles,    fx.clock,    fx.system,     fx.processes,    fx.services,
                             fx.shell,    fx.codePage, fx.random,   fx.mailPaths,  fx.shellFolders, fx.power,
                             fx.windows,  fx.files,    fx.launcher, fx.companions, fx.secureRandom};
    }
    std::unique_ptr<AppContext> context_;
};

}  // namespace ovp::test
