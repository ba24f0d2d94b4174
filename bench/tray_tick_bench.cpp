// One tick of the tray status monitor on realistic files. The tick runs every two seconds for as
// long as the user is logged on, so it must stay far below a millisecond of CPU, and the number of
// files it opens per tick is what it costs the disk cache (and a virus scanner) all day long.
//
// The profile files are read through a store that reads the whole file on every call, as the
// system's private-profile reader does, and gives it whole on request, as the Win32 store does
// for the tick's snapshot. Opens are counted in two ways: the store counts its own,
// and inotify counts every open in the application, user and images folders, which adds the
// monitor's own reads of the schedule and marker files.

#include <benchmark/benchmark.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <map>
#include <memory>
#include <string>

#include "app/tray_status_monitor.h"
#include "base/files.h"
#include "base/ini_text.h"
#include "context/app_context.h"
#include "contract/configuration.h"
#include "settings/obscure.h"
#include "support/app_fixture.h"

namespace {

using ovp::PathFromUtf8;

// Reads the whole file on every call; writes are counted and refused (a steady tick writes
// nothing). With reuseParsed the bytes are still read every time, but the parsed form of bytes
// seen before is reused: that takes the ini parser's own cost out of the measured tick.
class CountingIniFileStore final : public ovp::IProfileStore {
  public:
    explicit CountingIniFileStore(bool reuseParsed) : reuseParsed_(reuseParsed) {}

    std::string Read(const std::filesystem::path& file, std::string_view section, std::string_view key) override {
        ++opens;
        const auto bytes = ovp::ReadFileBytes(file);
        if (!bytes) {
            return {};
        }
        if (!reuseParsed_) {
            return ovp::IniText::FromFileBytes(*bytes).Get(section, key);
        }
        Parsed& parsed = parsed_[file.native()];
        if (parsed.bytes != *bytes) {
            parsed = {*bytes, ovp::IniText::FromFileBytes(*bytes)};
        }
        return parsed.ini.Get(section, key);
    }
    std::optional<ovp::IniText> ReadAll(const std::filesystem::path& file) override {
        ++opens;
        const auto bytes = ovp::ReadFileBytes(file);
        if (!bytes) {
            return ovp::IniText();
        }
        if (!reuseParsed_) {
            return ovp::IniText::FromFileBytes(*bytes);
        }
        Parsed& parsed = parsed_[file.native()];
        if (parsed.bytes != *bytes) {
            parsed = {*bytes, ovp::IniText::FromFileBytes(*bytes)};
        }
        return parsed.ini;
    }
    bool Write(const std::filesystem::path&, std::string_view, std::string_view, std::string_view) override {
        ++writes;
        return false;
    }
    long opens = 0;
    long writes = 0;

  private:
    struct Parsed {
        std::string bytes;
        ovp::IniText ini;
    };
    bool reuseParsed_;
    std::map<std::string, Parsed> parsed_;
};

class NullTray final : public ovp::ITrayIcon {
  public:
    bool Add(const std::filesystem::path&, std::string_view) override { return true; }
    bool SetIcon(const std::filesystem::path&) override { return true; }
    bool SetTip(std::string_view) override { return true; }
    bool Remove() override { return true; }
    bool IsAdded() const override { return true; }
};

class NullStatusWindow final : public ovp::IStatusWindowHost {
  public:
    void ShowStatusWindow() override {}
};

enum class Scenario { Idle, ScheduledRunning, ContinuousActive, QuotaExceeded };

std::string ScheduleFile(std::string_view marker) {
    std::string text = std::string(marker) + "\r\n";
    for (int i = 0; i < 20; ++i) {
        const std::string day = (i % 28 + 1 < 10 ? "0" : "") + std::to_string(i % 28 + 1);
        text += std::to_string(i % 5 + 1) + "\b\b" +
                (i % 5 == 0 ? "oventbkupjob" : "SQLSERVERBACKUP" + std::to_string(i)) + "\b\b04-" + day +
                "-2026 06:00:00\b\b03-01-2026 10:11:12\b\b" + std::to_string(i % 28 + 1) +
                "\b\b1\b\bops@example.com;backup@example.com;\b\b3\b\b1\b\b202604" + day + "0600\b\b6\b\b1111111\r\n";
    }
    return text;
}

std::string UserNameIni(Scenario scenario) {
    return "[Registry]\r\nDefault User name=" + ovp::Obscure("alice") +
           "\r\nCurrentUser=alice\r\nTray=1\r\nStandbyBackup=0\r\nBackupIdle=1\r\nBackupIdleState=0\r\n"
           "Bandwidth=0\r\nBandwidthIdleState=0\r\nStopSchedule=0\r\nStopScheduleTime=\r\n"
           "NextTransfer=04-01-2026 06:00:00\r\nSTARTMISSEDSCH=1\r\nLogOff=0\r\nUNCEncrypted=1\r\nUNCCount=0\r\n"
           "[Orvessa]\r\nRTBackup=" +
           std::string(scenario == Scenario::ContinuousActive ? "1"
                       : scenario == Scenario::QuotaExceeded  ? "6"
                                                              : "0") +
           "\r\nRTBPausedBySch=0\r\nRealTimeBackup=1\r\nStarted=1\r\nStandard=1\r\nInteractive=0\r\n"
           "InteractiveLists=\r\nScheduled=0\r\n";
}

std::string ProfileIni(Scenario scenario) {
    const auto obscured = [](std::string_view key, std::string_view value) {
        return ovp::Obscure(key) + "=" + ovp::Obscure(value) + "\r\n";
    };
    return "[Orvessa]\r\n" + obscured("username", "alice") + obscured("password", "secret") +
           obscured("serverip", "127.0.0.1") + obscured("port", "443") + obscured("ScheduleDisable", "FALSE") +
           obscured("Authenticated", "1") + obscured("Schedule Type", "3") +
           "User Password=\r\nIPAddres=127.0.0.1\r\nOutPort=443\r\nMail-ID=alice@example.com\r\nRecomended=1\r\n"
           "[BackupStatus]\r\nStatus=" +
           std::string(scenario == Scenario::ScheduledRunning ? "1" : "0") +
           "\r\nDLLStatus=0\r\nRetValue=0\r\nStatusWindow=0\r\nStatusMessageIndicaton=\r\n"
           "SchEndTime=\r\nBackupFailureDays=3\r\nUserDays=3\r\nUserDaysEnabled=1\r\nDesktopNotification=1\r\n"
           "StatusCheckCount=0\r\nCompareListCount=0\r\nBackupNowTray=0\r\nProgStatus=0\r\n"
           "[QuotaStatus]\r\nUsed=" +
           std::string(scenario == Scenario::QuotaExceeded ? "5368709120" : "1073741824") +
           "\r\nMax=4294967296\r\n[Web]\r\nWebPlugin=1\r\n[OLWA]\r\nErrVal=0\r\n"
           "[Proxy]\r\n" +
           obscured("Proxyset", "0") + obscured("ProxyName", "") + obscured("ProxyPort", "") + "[DateFormat]\r\n" +
           obscured("Format", "mm-dd-yyyy");
}

class TickSetup {
  public:
    TickSetup(Scenario scenario, bool reuseParsed)
        : app_(dir_ / "app"),
          user_(app_ / "Grp Backupalice"),
          store_(reuseParsed),
          context_(Ports(), app_, *ovp::ParseConfiguration(ovp::test::GroupConfiguration())),
          monitor_(context_, tray_, window_) {
        ovp::CreateFolders(user_);
        ovp::CreateFolders(app_ / "Images");
        for (const char* icon : {"ovlog.ico", "ovlogyellow.ico", "ovlogred.ico", "ovloggreen.ico", "CDPBlue1.ico",
                                 "CDPBlue2.ico", "QExceed1.ico", "QExceed2.ico"}) {
            ovp::test::WriteAll(app_ / "Images" / icon, std::string(1150, 'i'));
        }
        ovp::test::WriteAll(app_ / "UserName.ini", UserNameIni(scenario));
        ovp::test::WriteAll(user_ / "Grp Backup.ini", ProfileIni(scenario));
        ovp::test::WriteAll(user_ / "scheduleData.txt",
                            ScheduleFile(scenario == Scenario::ScheduledRunning ? "1" : "0"));
        ovp::test::WriteAll(user_ / "SchStatus.txt", "Backup completed successfully.\r\n");
        registry_.WriteDword(ovp::RegistryRoot::CurrentUser, "Software\\Harrowlane\\Grp Backup\\Connection Parameters",
                             "Status", 1);
        // The first tick of continuous backup waits a second (on the fake clock) and the quota
        // report creates its marker: both are done before anything is measured.
        monitor_.Tick();
    }

    ovp::TrayStatusMonitor& Monitor() { return monitor_; }
    CountingIniFileStore& Store() { return store_; }
    std::array<std::filesystem::path, 3> Folders() const { return {app_, user_, app_ / "Images"}; }

  private:
    ovp::PlatformPorts Ports() {
        return ovp::PlatformPorts{registry_, store_,    clock_,    system_,     processes_,   services_,
                                  shell_,    codePage_, random_,   mailPaths_,  folders_,     power_,
                                  windows_,  files_,    launcher_, companions_, secureRandom_, http_};
    }

    ovp::test::TempDir dir_;
    std::filesystem::path app_;
    std::filesystem::path user_;
    ovp::test::FakeRegistry registry_;
    CountingIniFileStore store_;
    ovp::test::FakeClock clock_;
    ovp::test::FakeSystemInfo system_;
    ovp::test::FakeProcesses processes_;
    ovp::test::FakeServiceManager services_;
    ovp::test::FakeShell shell_;
    ovp::test::FakeCodePage codePage_;
    ovp::test::ScriptedRandom random_;
    ovp::test::FakeProfileStore mailStore_;
    ovp::test::FakeMailPaths mailPaths_{mailStore_};
    ovp::test::FakeShellFolders folders_;
    ovp::test::FakePower power_;
    ovp::test::FakeWindows windows_;
    ovp::test::StdFileSystem files_;
    ovp::test::FakeLauncher launcher_;
    ovp::test::FakeCompanions companions_;
    ovp::test::FakeSecureRandom secureRandom_;
    ovp::test::FakeHttp http_;
    ovp::AppContext context_;
    NullTray tray_;
    NullStatusWindow window_;
    ovp::TrayStatusMonitor monitor_;
};

// Opens per tick over a number of ticks: the store's own and every open inotify sees.
struct OpenCount {
    double store = 0;
    double all = 0;
    double writes = 0;
};

OpenCount CountOpens(TickSetup& setup, int ticks) {
    OpenCount count;
    const int watch = inotify_init1(IN_NONBLOCK);
    if (watch < 0) {
        return count;
    }
    for (const auto& folder : setup.Folders()) {
        // Closes keep two opens of one file from merging into one event.
        inotify_add_watch(watch, folder.c_str(), IN_OPEN | IN_CLOSE);
    }
    const long storeBefore = setup.Store().opens;
    const long writesBefore = setup.Store().writes;
    long opened = 0;
    alignas(inotify_event) char buffer[64 * 1024];
    for (int i = 0; i < ticks; ++i) {
        setup.Monitor().Tick();
        for (;;) {
            const ssize_t length = read(watch, buffer, sizeof buffer);
            if (length <= 0) {
                break;
            }
            for (ssize_t offset = 0; offset < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
                // Listing a folder opens it too; only files count.
                if ((event->mask & IN_OPEN) != 0 && (event->mask & IN_ISDIR) == 0) {
                    ++opened;
                }
                offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }
    close(watch);
    count.store = static_cast<double>(setup.Store().opens - storeBefore) / ticks;
    count.writes = static_cast<double>(setup.Store().writes - writesBefore) / ticks;
    count.all = static_cast<double>(opened) / ticks;
    return count;
}

void BM_TrayTick(benchmark::State& state, Scenario scenario, bool reuseParsed) {
    TickSetup setup(scenario, reuseParsed);
    const OpenCount opens = CountOpens(setup, 100);
    for (auto _ : state) {
        setup.Monitor().Tick();
    }
    state.counters["profile_reads"] = opens.store;
    state.counters["own_opens"] = opens.all - opens.store;
    state.counters["opens"] = opens.all;
    state.counters["profile_writes"] = opens.writes;
}
// Every profile value parsed from its file's bytes, as the system's reader does.
BENCHMARK_CAPTURE(BM_TrayTick, idle, Scenario::Idle, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TrayTick, scheduled_running, Scenario::ScheduledRunning, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TrayTick, continuous_active, Scenario::ContinuousActive, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TrayTick, quota_exceeded, Scenario::QuotaExceeded, false)->Unit(benchmark::kMicrosecond);
// The same reads without the stand-in's parsing: what the monitor itself costs.
BENCHMARK_CAPTURE(BM_TrayTick, idle_reads_only, Scenario::Idle, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TrayTick, continuous_active_reads_only, Scenario::ContinuousActive, true)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
