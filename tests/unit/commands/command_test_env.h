#pragma once
// What the tests of the tray commands build on: the application fixture with user "alice" logged
// in, a scripted message box, a recording command host and a profile store that records writes.

#include <memory>

#include "base/files.h"
#include "base/text.h"
#include "contract/configuration.h"
#include "settings/obscure.h"
#include "support/app_fixture.h"
#include "support/fake_command_host.h"
#include "support/fake_tray.h"

namespace ovp::test {

// Passes everything to the fake store and records each write as "Section/key=value".
class RecordingProfiles : public IProfileStore {
  public:
    using Path = std::filesystem::path;
    explicit RecordingProfiles(IProfileStore& store) : store_(store) {}
    std::string Read(const Path& file, std::string_view section, std::string_view key) override {
        return store_.Read(file, section, key);
    }
    bool Write(const Path& file, std::string_view section, std::string_view key, std::string_view value) override {
        writes.push_back(std::string(section) + "/" + std::string(key) + "=" + std::string(value));
        if (onWrite) {
            onWrite(key);
        }
        return store_.Write(file, section, key, value);
    }
    // The writes that begin with `prefix`, without it, each ended by "|".
    std::string Writes(std::string_view prefix) const {
        std::string text;
        for (const std::string& write : writes) {
            text += write.starts_with(prefix) ? write.substr(prefix.size()) + "|" : "";
        }
        return text;
    }
    std::vector<std::string> writes;
    std::function<void(std::string_view key)> onWrite;

  private:
    IProfileStore& store_;
};

class CommandFixture {
  public:
    explicit CommandFixture(std::string_view configuration = GroupConfiguration()) {
        fx.WriteConfiguration(configuration);
        fx.SetCurrentUser("alice");
        CreateFolders(UserFile(""));
        context_ = std::make_unique<AppContext>(
            PlatformPorts{fx.registry, profiles, fx.clock, fx.system, fx.processes, fx.services, fx.shell, fx.codePage,
                          fx.random, fx.mailPaths, fx.shellFolders, fx.power, fx.windows, fx.files, fx.launcher,
                          fx.companions, fx.secureRandom, fx.http},
            fx.app, *ReadConfiguration(fx.app));
        context_->traceUser.MarkKnown();
        profiles.writes.clear();
    }

    AppContext& Context() { return *context_; }
    CommandEnv Env() { return CommandEnv{*context_, box, tray, host}; }
    std::filesystem::path UserFile(std::string_view name) { return fx.app / "Grp Backupalice" / name; }
    std::filesystem::path Names() { return fx.app / "UserName.ini"; }

    // BackupStatus and Orvessa (obscured or plain) of the profile, Orvessa of UserName.ini.
    void Status(std::string_view key, std::string_view value) { Put("BackupStatus", key, value); }
    std::string Status(std::string_view key) { return fx.profiles.Read(Profile(), "BackupStatus", key); }
    void Obscured(std::string_view key, std::string_view value) { Put("Orvessa", Obscure(key), Obscure(value)); }
    std::string Obscured(std::string_view key) { return Unobscure(Plain(Obscure(key))); }
    std::string Plain(std::string_view key) { return fx.profiles.Read(Profile(), "Orvessa", key); }
    void Shared(std::string_view key, std::string_view value) { fx.profiles.Write(Names(), "Orvessa", key, value); }
    std::string Shared(std::string_view key) { return fx.profiles.Read(Names(), "Orvessa", key); }

    // The trace's lines after their date, each ended by "|", the information level left out.
    std::string Information() {
        std::string text;
        for (const std::string& line :
             Split(DecodeTextFile(ReadFileBytes(UserFile("TrayTraceFile.txt")).value_or("")), "\r\n")) {
            text +=
                line.size() <= 19 ? "" : (line.substr(19, 17) == "   [INFORMATION] " ? line.substr(36) : line) + "|";
        }
        return text;
    }
    // Every message box shown, as "message|first button|second button|title|owner;".
    std::string Asked() {
        std::string text;
        for (const MessageBoxRequest& b : box.shown) {
            text += b.message + "|" + b.firstCaption + "|" + b.secondCaption + "|" + b.title + "|" +
                    std::to_string(b.owner) + ";";
        }
        return text;
    }

    AppFixture fx;
    RecordingProfiles profiles{fx.profiles};
    ScriptedMessageBox box;
    FakeTrayIcon tray;
    RecordingCommandHost host;

  private:
    std::filesystem::path Profile() { return UserFile("Grp Backup.ini"); }
    void Put(std::string_view section, std::string_view key, std::string_view value) {
        fx.profiles.Write(Profile(), section, key, value);
    }
    std::unique_ptr<AppContext> context_;
};

}  // namespace ovp::test
