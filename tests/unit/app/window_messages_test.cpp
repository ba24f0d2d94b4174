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
    void ShowTrayMenu(bool stopEnabled) override { calls.push_back(stopEnabled ? "menu stop" : "menu"); }
    void ExplorerLogout() override { calls.push_back("logout"); }
    Lines calls;
};

Lines ReadTraceLines(const std::filesystem::path& file) {
    Lines lines = Split(DecodeTextFile(test::ReadAll(file)), "\r\n");
    if (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    return lines;
}

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
    // Dated trace lines without their "mm-dd-yyyy HH:mm:ss : " prefix.
    Lines Dated() const {
        Lines lines;
        for (const std::string& line : ReadTraceLines(temp_ / "TrayTraceFile.txt")) {
            lines.push_back(line.size() > 22 ? line.substr(22) : line);
        }
        return lines;
    }
    Lines UserTrace() const { return ReadTraceLines(UserFolder() / "TrayTraceFile.txt"); }
    void WriteSchedule(std::string_view marker) {
        test::WriteAll(UserFolder() / "scheduleData.txt", std::string(marker) + "\r\n1\b\boventbkupjob\r\n");
    }
    static bool Contains(const Lines& lines, std::string_view line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
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

TEST_F(WindowMessagesTest, SuspendTracesTheScheduleAsksToStayAwakeAndArmsTheOneShotTimer) {
    SetRegistry("NextTransfer", "03-14-2026 10:00:00");
    SetRegistry("StandbyBackup", "0");
    Suspend();
    messages_.OnPowerBroadcast(PowerEvent::Other);
    EXPECT_EQ(UserTrace(), Lines{"03-14-2026 09:30:00 :     Hibernation Message Arrived"});
    EXPECT_TRUE(Dated().empty() && host_.calls.empty() && power_.requests.empty() && power_.openedNames.empty());

    SetRegistry("StandbyBackup", "");  // empty counts as on
    power_.previousState = 0x80000001u;
    messages_.OnPowerBroadcast(PowerEvent::QuerySuspend);
    EXPECT_EQ(Dated(), (Lines{
                           "Previous scheduled time:   "
                           "    CurrentTime:   03-14-2026 09:30:00    NewScheduledTime:   03-14-2026 10:00:00",
                           "NewScheduledTime: 03-14-2026 10:00:00 Previous scheduled time: So Setting Cancel to true ",
                           "03-14-2026 09:30:00   SetThreadExecutionState to SYSTEM_REQUIRED",
                       }));
    EXPECT_EQ(power_.requests, std::vector{ExecutionRequest::SystemRequiredContinuous});
    EXPECT_EQ(messages_.PreviousExecutionState(), 0x80000001u);
    EXPECT_EQ(host_.calls, Lines{"timer on"});

    // The same schedule again: nothing moved, so no cancel line. Before Vista nothing is asked of
    // the power manager.
    SetRegistry("StandbyBackup", "1");
    system_.version = {true, 5, 1, 2600};
    Suspend();
    EXPECT_EQ(Dated().size(), 4u);
    EXPECT_EQ(power_.requests.size(), 1u);
}

// ---- The wake-up wait ---------------------------------------------------------------------------

TEST_F(WindowMessagesTest, SuspendArmsTheNamedTimerAndTheTickWaitsUntilItFires) {
    SetRegistry("NextTransfer", "03-14-2026 10:45:30");
    // The computer may sleep as soon as the notification is answered: the timer is armed by then.
    Suspend();
    EXPECT_EQ(power_.openedNames, Lines{"Timer4194304"});
    EXPECT_EQ(power_.armedSeconds, std::vector<std::int64_t>{4530});
    EXPECT_EQ(power_.openTimers, 1);
    // The first notification always "moves" the schedule from nothing; its own wait must still run.
    power_.waitResults = {Wait::Input, Wait::Input, Wait::Timer};
    Tick();
    EXPECT_EQ(host_.calls, (Lines{"timer on", "timer off"}));
    EXPECT_EQ(power_.openedNames.size(), 1u);
    EXPECT_EQ(power_.armedSeconds.size(), 1u);
    EXPECT_EQ(clock_.pumpingWaits, (std::vector<std::uint32_t>{1000, 1000, 1000}));
    EXPECT_EQ(Dated().back(),
              "Current Time :  03-14-2026 09:30:00 Scheduled Time:  03-14-2026 10:45:30 Time "
              "difference:   1 hour and 15 minutes and30 seconds");
}

TEST_F(WindowMessagesTest, ScheduleInThePastTracesTheNegativeDifferenceAndBadOnesNothing) {
    SetRegistry("NextTransfer", "03-14-2026 09:29:59");
    Tick();
    EXPECT_EQ(Dated(), Lines{"Time Difference is -ve. So Exiting.    Current Time :  03-14-2026 09:30:00 Scheduled "
                             "Time:  03-14-2026 09:29:59 Time difference:  "});
    // Due this very second, or no real date and time: nothing to wait for, and nothing traced.
    for (const char* value : {"03-14-2026 09:30:00", "", "13-40-2026 10:00:00", "03-14-2026x"}) {
        SetRegistry("NextTransfer", value);
        Tick();
    }
    EXPECT_TRUE(power_.openedNames.empty());
    EXPECT_EQ(Dated().size(), 1u);
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
    EXPECT_EQ(Dated().back(), "Exiting waitable timer");

    SetRegistry("StandbyBackup", "1");
    Tick();
    EXPECT_EQ(power_.waitCount, 4);
    Tick();  // once the program is ending no new wait starts
    EXPECT_EQ(power_.openedNames.size(), 2u);
}

TEST_F(WindowMessagesTest, MovedScheduleCancelsThePendingWaitAndTheNextTickWaitsForTheNewTime) {
    SetRegistry("NextTransfer", "03-14-2026 11:00:00");
    Suspend();
    int nestedOpen = 0;
    power_.onWait = [&](int number) -> std::optional<Wait> {
        nestedOpen = std::max(nestedOpen, power_.openTimers);
        if (number == 0) {
            // While the wait pumps: a new suspend with an earlier schedule, then its timer tick.
            SetRegistry("NextTransfer", "03-14-2026 10:00:00");
            Suspend();
            Tick();
            return Wait::Input;
        }
        return Wait::Timer;
    };
    Tick();
    EXPECT_EQ(nestedOpen, 1);
    EXPECT_EQ(power_.armedSeconds, (std::vector<std::int64_t>{5400, 1800}));
    EXPECT_TRUE(Contains(Dated(),
                         "NewScheduledTime: 03-14-2026 10:00:00 Previous scheduled time: 03-14-2026 "
                         "11:00:00So Setting Cancel to true "));
    EXPECT_TRUE(Contains(Dated(), "Exiting waitable timer"));
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

    power_.waitResults = {Wait::Failed};
    Tick();
    EXPECT_EQ(power_.waitCount, 1);
    power_.waitResults = {Wait::Input, Wait::Quit};
    Tick();
    EXPECT_EQ(power_.waitCount, 3);
    Tick();
    EXPECT_EQ(power_.openedNames.size(), 3u);
    EXPECT_EQ(power_.openTimers, 0);
}

TEST_F(WindowMessagesTest, OnVistaAStoppedEngineWithdrawsTheKeepAwakeRequest) {
    SetRegistry("NextTransfer", "03-14-2026 10:00:00");
    values_.WriteUserNameOrvessa("Started", "0");
    Tick();
    EXPECT_EQ(power_.requests, std::vector{ExecutionRequest::ContinuousOnly});
    EXPECT_EQ(Dated().back(), "03-14-2026 09:30:00 SetThreadExecutionState set to CONTINUOUS");

    values_.WriteUserNameOrvessa("Started", "1");
    Tick();
    system_.version = {true, 5, 2, 3790};
    values_.WriteUserNameOrvessa("Started", "0");
    Tick();
    EXPECT_EQ(power_.requests.size(), 1u);
}

// ---- Taskbar, explorer logout, end of session ---------------------------------------------------

TEST_F(WindowMessagesTest, ARecreatedTaskbarGetsTheIconBackAndTheExplorerLogsOut) {
    messages_.OnTaskbarCreated();
    EXPECT_EQ(host_.calls, (Lines{"remove", "refresh", "add"}));
    messages_.OnCloseInteractiveWindow();
    EXPECT_EQ(host_.calls.back(), "logout");
    EXPECT_EQ(UserTrace(), Lines{"03-14-2026 09:30:00  [INFORMATION] Calling logou t from explorer"});
}

TEST_F(WindowMessagesTest, EndOfSessionDuringAScheduledJobLeavesTheClientButClosesItsWindow) {
    WriteSchedule("2");
    processes_.Add("C:\\Program Files\\Tallux\\OVClient.exe");
    processes_.Add("C:\\Program Files\\Tallux\\OVClassic.exe");
    const WindowHandle hidden = windows_.Add("Tallux ProHiddenWindow", true);
    const WindowHandle client = windows_.Add("Tallux Backup (alice)");
    const auto status = [this] {
        return registry_.Read(RegistryRoot::CurrentUser, values_.ConnectionParametersKey(), "Status").AsText();
    };
    registry_.WriteDword(RegistryRoot::CurrentUser, values_.ConnectionParametersKey(), "Status", 1);

    // A log-off that was cancelled leaves the main application, the client and the connection.
    messages_.OnEndSession(false);
    EXPECT_TRUE(windows_.calls.empty());
    EXPECT_EQ(processes_.running.size(), 2u);
    EXPECT_EQ(status(), "1");
    std::filesystem::remove(UserFolder() / "TrayTraceFile.txt");

    messages_.OnEndSession(true);
    EXPECT_EQ(windows_.calls,
              (std::vector<std::pair<std::string, WindowHandle>>{{"session end", hidden}, {"close", client}}));
    EXPECT_EQ(status(), "0");
    ASSERT_EQ(processes_.running.size(), 1u);
    EXPECT_EQ(processes_.running[0].imagePath, "C:\\Program Files\\Tallux\\OVClient.exe");
    EXPECT_EQ(UserTrace(),
              (Lines{"03-14-2026 09:30:00  [INFORMATION] Inside End_Session",
                     "03-14-2026 09:30:00  [INFORMATION] WM_ENDSESSION , setting Connection parameter to 0"}));
}

TEST_F(WindowMessagesTest, EndOfSessionWhileIdleEndsTheClient) {
    for (const bool withFile : {true, false}) {  // no schedule file counts as idle
        if (withFile) {
            WriteSchedule(" 0 ");
        }
        processes_.Add("C:\\Tallux\\ovclient.EXE");
        messages_.OnEndSession(true);
        EXPECT_TRUE(processes_.running.empty()) << withFile;
        std::filesystem::remove(UserFolder() / "scheduleData.txt");
    }
    EXPECT_TRUE(Contains(UserTrace(), "03-14-2026 09:30:00  [INFORMATION] Closing Client"));
}

// ---- The private tray message -------------------------------------------------------------------

TEST_F(WindowMessagesTest, RightButtonEnablesStopOnlyForARunningScheduledJob) {
    values_.WriteProfile("BackupStatus", "Status", "1");
    messages_.OnTrayMouse(TrayMouse::RightUp);  // no schedule file
    WriteSchedule("1");
    messages_.OnTrayMouse(TrayMouse::RightUp);
    values_.WriteProfile("BackupStatus", "Status", "2");
    messages_.OnTrayMouse(TrayMouse::RightUp);
    EXPECT_EQ(host_.calls, (Lines{"menu", "menu stop", "menu"}));
}

TEST_F(WindowMessagesTest, DoubleClickOpensTheNewestSessionLogMaximised) {
    messages_.OnTrayMouse(TrayMouse::DoubleClick);  // no Session folder yet
    EXPECT_TRUE(shell_.requests.empty());

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
    ASSERT_EQ(shell_.requests.size(), 1u);
    EXPECT_EQ(shell_.requests[0].verb, "open");
    EXPECT_EQ(shell_.requests[0].file, newer);
    EXPECT_EQ(shell_.requests[0].show, ShowMode::Maximized);

    // No program for the file type: the open-with chooser.
    shell_.answer = {kShellNoAssociation, 1155, ""};
    messages_.OnTrayMouse(TrayMouse::DoubleClick);
    ASSERT_EQ(shell_.requests.size(), 3u);
    EXPECT_EQ(shell_.requests[2].verb, "open with");
    EXPECT_EQ(shell_.requests[2].file, newer);
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
