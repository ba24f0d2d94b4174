#include "app/window_messages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/text.h"
#include "support/fake_code_page.h"
#include "support/fake_power.h"
#include "support/fake_processes.h"
#include "support/fake_windows.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace ovp {
namespace {

using Lines = std::vector<std::string>;
using Wait = WakeWaitResult;

class RecordingHost : public ITrayHost {
  public:
    void RemoveTrayIcon() override { calls.push_back("remove"); }
    void RefreshFormIcon() override { calls.push_back("refresh"); }
    void AddTrayIcon() override { calls.push_back("add"); }
    void EnableHibernationTimer(bool enable) override { calls.push_back(enable ? "timer on" : "timer off"); }
    void ShowTrayMenu() override { calls.push_back("menu"); }
    void ExplorerLogout() override { calls.push_back("logout"); }
    Lines calls;
};

class WindowMessagesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        users_.WriteCurrentUserName("alice");
        std::filesystem::create_directories(UserFolder());
        settings_.installationName = "Tallux Pro";
        settings_.caption = "Tallux Backup";
        names_.client = "OVClient.exe";
        names_.classic = "OVClassic.exe";
    }

    std::filesystem::path UserFolder() const { return folders_.UserFolder("alice"); }
    void SetRegistry(std::string_view key, std::string_view value) { values_.WriteUserNameRegistry(key, value); }
    void Suspend() { messages_.OnPowerBroadcast(PowerEvent::Suspend); }
    void Tick() { messages_.chkHibernationTimeOut_Timer(); }
    void WriteSchedule(std::string_view marker) {
        test::WriteAll(UserFolder() / "scheduleData.txt", std::string(marker) + "\r\n1\b\boventbkupjob\r\n");
    }

    test::TempDir temp_;
    Folders folders_{temp_.Path(), "Tallux Pro"};
    test::FakeProfileStore store_;
    test::FakeRegistry registry_;
    test::FakeTraceSink sink_;
    test::FakeClock clock_{{2026, 3, 14, 9, 30, 0}};
    test::FakeSystemInfo system_;  // Windows 10: the "Vista" family
    CurrentUser users_{store_, folders_};
    SharedValues values_{registry_, store_, folders_, users_, sink_};
    Trace trace_{folders_, users_, clock_};
    test::FakePower power_;
    test::FakeWindows windows_;
    test::FakeProcesses processes_;
    test::FakeShell shell_;
    test::FakeCodePage codePage_;
    RecordingHost host_;
    ScheduledJobMemory jobMemory_;
    ProductSettings settings_;
    ExecutableNames names_;
    TrayWindowMessages messages_{{values_, trace_, clock_, system_, power_, windows_, processes_, shell_, codePage_,
                                  host_, jobMemory_, settings_, names_},
                                 4194304};
};

// ---- Power notifications ------------------------------------------------------------------------

TEST_F(WindowMessagesTest, SuspendAsksToStayAwakeArmsTheNamedTimerAndTheTickWaitsUntilItFires) {
    SetRegistry("NextTransfer", "03-14-2026 10:45:30");
    SetRegistry("StandbyBackup", "0");
    Suspend();
    messages_.OnPowerBroadcast(PowerEvent::Other);
    EXPECT_TRUE(host_.calls.empty() && power_.requests.empty() && power_.openedNames.empty());

    SetRegistry("StandbyBackup", "");  // empty counts as on
    power_.previousState = 0x80000001u;
    messages_.OnPowerBroadcast(PowerEvent::QuerySuspend);
    EXPECT_EQ(power_.requests, std::vector{ExecutionRequest::SystemRequiredContinuous});
    EXPECT_EQ(messages_.PreviousExecutionState(), 0x80000001u);
    // The computer may sleep as soon as the notification is answered: the timer is armed by then.
    EXPECT_EQ(power_.openedNames, Lines{"Timer4194304"});
    EXPECT_EQ(power_.armedSeconds, std::vector<std::int64_t>{4530});
    // The first notification always "moves" the schedule from nothing; its own wait must still run.
    power_.waitResults = {Wait::Input, Wait::Input, Wait::Timer};
    Tick();
    EXPECT_EQ(host_.calls, (Lines{"timer on", "timer off"}));
    EXPECT_EQ(power_.openedNames.size() + power_.armedSeconds.size(), 2u);
    EXPECT_EQ(clock_.pumpingWaits, (std::vector<std::uint32_t>{1000, 1000, 1000}));

    // Before Vista nothing is asked of the power manager.
    system_.version = {true, 5, 1, 2600};
    Suspend();
    EXPECT_EQ(power_.requests.size(), 1u);
}

TEST_F(WindowMessagesTest, ADueOrPastScheduleOrABadOneIsNotWaitedFor) {
    for (const char* value : {"03-14-2026 09:29:59", "03-14-2026 09:30:00", "", "13-40-2026 10:00:00"}) {
        SetRegistry("NextTransfer", value);
        Tick();
    }
    EXPECT_TRUE(power_.openedNames.empty());
    EXPECT_NE(DecodeTextFile(test::ReadAll(temp_ / "TrayTraceFile.txt")).find("Time Difference is -ve"),
              std::string::npos);
}

TEST_F(WindowMessagesTest, WaitEndsWhenStandbyBackupIsSwitchedOffOrTheProgramStops) {
    SetRegistry("NextTransfer", "03-14-2026 11:00:00");
    power_.onWait = [this](int number) -> std::optional<Wait> {
        if (number == 1) {
            SetRegistry("StandbyBackup", "0");
        } else if (number == 3) {
            messages_.StopWaiting();
        }
        return Wait::Input;
    };
    Tick();
    EXPECT_EQ(power_.waitCount, 2);
    SetRegistry("StandbyBackup", "1");
    Tick();
    EXPECT_EQ(power_.waitCount, 4);
    Tick();  // once the program is ending no new wait starts
    EXPECT_EQ(power_.openedNames.size(), 2u);
}

TEST_F(WindowMessagesTest, AMovedScheduleCancelsThePendingWaitAndATickDuringAWaitRunsAfterIt) {
    SetRegistry("NextTransfer", "03-14-2026 11:00:00");
    Suspend();
    int nestedOpen = 0;
    power_.onWait = [&](int number) -> std::optional<Wait> {
        if (number < 2) {  // the same schedule again, then an earlier one, arrive while the wait pumps
            SetRegistry("NextTransfer", number == 0 ? "03-14-2026 11:00:00" : "03-14-2026 10:00:00");
            Suspend();
        } else {
            nestedOpen = std::max(nestedOpen, power_.openTimers);
            if (number == 2) {
                Tick();
            }
        }
        return number < 3 ? Wait::Input : Wait::Timer;
    };
    Tick();
    EXPECT_EQ(power_.waitCount, 2);
    Tick();
    EXPECT_EQ(nestedOpen, 1);
    EXPECT_EQ(power_.waitCount, 4);
    EXPECT_EQ(power_.armedSeconds, (std::vector<std::int64_t>{5400, 5400, 1799, 1797}));
}

TEST_F(WindowMessagesTest, UnarmedTimerFailedWaitOrQuitEndTheWaitAndAfterQuitNoneStarts) {
    SetRegistry("NextTransfer", "03-14-2026 10:00:00");
    power_.refuseArm = true;
    Tick();
    power_.refuseArm = false;
    power_.refuseOpen = true;
    Tick();
    EXPECT_EQ(power_.waitCount, 0);
    power_.refuseOpen = false;
    power_.waitResults = {Wait::Failed, Wait::Input, Wait::Quit};
    Tick();
    Tick();
    EXPECT_EQ(power_.waitCount, 3);
    Tick();
    EXPECT_EQ(power_.openedNames.size(), 3u);
    EXPECT_EQ(power_.openTimers, 0);
}

TEST_F(WindowMessagesTest, OnVistaAStoppedEngineWithdrawsTheKeepAwakeRequest) {
    SetRegistry("NextTransfer", "03-14-2026 10:00:00");
    for (const auto& [version, started] :
         {std::pair{OsVersion{}, "0"}, std::pair{OsVersion{}, "1"}, std::pair{OsVersion{true, 5, 2, 3790}, "0"}}) {
        system_.version = version;
        values_.WriteUserNameOrvessa("Started", started);
        Tick();
    }
    EXPECT_EQ(power_.requests, std::vector{ExecutionRequest::ContinuousOnly});
}

// ---- Taskbar, explorer logout, end of session ---------------------------------------------------

TEST_F(WindowMessagesTest, ARecreatedTaskbarGetsTheIconBackAndTheExplorerLogsOut) {
    messages_.OnTaskbarCreated();
    messages_.OnCloseInteractiveWindow();
    EXPECT_EQ(host_.calls, (Lines{"remove", "refresh", "add", "logout"}));
}

TEST_F(WindowMessagesTest, EndOfSessionEndsAnIdleClientOnlyAndClosesItsWindow) {
    const WindowHandle hidden = windows_.Add("Tallux ProHiddenWindow", true);
    const WindowHandle client = windows_.Add("Tallux Backup (alice)");
    const auto status = [this] {
        return registry_.Read(RegistryRoot::CurrentUser, values_.ConnectionParametersKey(), "Status").AsText();
    };
    registry_.WriteDword(RegistryRoot::CurrentUser, values_.ConnectionParametersKey(), "Status", 1);
    // marker (nullptr: no file, which is idle too), client ended; a cancelled log-off changes nothing.
    const struct {
        const char* marker;
        bool ending, clientEnded;
    } cases[] = {{nullptr, false, false}, {"2", true, false}, {" 0 ", true, true}, {nullptr, true, true}};
    for (const auto& c : cases) {
        if (c.marker != nullptr) {
            WriteSchedule(c.marker);
        }
        processes_.running.clear();
        processes_.Add("C:\\Tallux\\OVClassic.exe");
        processes_.Add("C:\\Tallux\\ovclient.EXE");
        messages_.OnEndSession(c.ending);
        EXPECT_EQ(processes_.running.size(), c.ending ? (c.clientEnded ? 0u : 1u) : 2u) << c.marker;
        EXPECT_EQ(status(), c.ending ? "0" : "1");
        EXPECT_EQ(windows_.calls.empty(), !c.ending);
        std::filesystem::remove(UserFolder() / "scheduleData.txt");
    }
    EXPECT_EQ(windows_.calls[0], (std::pair<std::string, WindowHandle>{"session end", hidden}));
    EXPECT_EQ(windows_.calls[1], (std::pair<std::string, WindowHandle>{"close", client}));
}

// ---- The private tray message -------------------------------------------------------------------

TEST_F(WindowMessagesTest, DoubleClickOpensTheNewestSessionLogMaximised) {
    messages_.OnTrayMouse(TrayMouse::DoubleClick);  // no Session folder yet
    const auto session = UserFolder() / "Session";
    const auto older = session / "Backup 03-14-2026 08:00:00.txt";
    const auto newer = session / "Restore 03-13-2026 08:00:00.txt";
    test::WriteAll(older, "old");
    test::WriteAll(newer, "new");
    std::filesystem::create_directories(session / "Zfolder");
    const auto now = std::filesystem::file_time_type::clock::now();
    std::filesystem::last_write_time(older, now - std::chrono::hours(2));
    std::filesystem::last_write_time(newer, now - std::chrono::hours(1));
    messages_.OnTrayMouse(TrayMouse::DoubleClick);
    // No program for the file type: the open-with chooser.
    shell_.answer = {kShellNoAssociation, 1155, ""};
    messages_.OnTrayMouse(TrayMouse::DoubleClick);
    ASSERT_EQ(shell_.requests.size(), 3u);
    EXPECT_EQ(shell_.requests[0].verb + shell_.requests[2].verb, "openopen with");
    EXPECT_EQ(shell_.requests[0].show, ShowMode::Maximized);
    EXPECT_TRUE(shell_.requests[0].file == newer && shell_.requests[2].file == newer);
    // A program put into the folder is never run by the double-click, only offered to the chooser.
    shell_.answer = {42, 0, ""};
    test::WriteAll(session / "setup.exe", "MZ");
    messages_.OnTrayMouse(TrayMouse::DoubleClick);
    ASSERT_EQ(shell_.requests.size(), 4u);
    EXPECT_EQ(shell_.requests[3].verb, "open with");
}

// ---- Duration text ------------------------------------------------------------------------------

TEST(DurationTextTest, PartsAreSingularOrPluralAndJoinedWithAnd) {
    const DateTime start{2026, 3, 14, 23, 0, 0};
    const std::pair<long long, std::string_view> cases[] = {
        {1, "1 seconds"}, {60, " 1 minute"}, {61, " 1 minute and1 seconds"}, {3605, " 1 hour and5 seconds"},
        {0, ""},          {-90, ""}};
    for (const auto& [seconds, text] : cases) {
        const Duration duration = DurationText(start, start.AddSeconds(seconds));
        EXPECT_EQ(duration.text, text) << seconds;
        EXPECT_EQ(duration.seconds, seconds);
    }
    // Across midnight and the month end the hours keep counting.
    const Duration longOne = DurationText(DateTime{2026, 3, 31, 22, 0, 0}, DateTime{2026, 4, 2, 0, 59, 0});
    EXPECT_EQ(longOne.seconds, 26 * 3600 + 59 * 60);
    EXPECT_EQ(longOne.text, " 26 hours and 59 minutes");
}

}  // namespace
}  // namespace ovp
