#include "commands/continuous_backup.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/tray_status_monitor.h"
#include "command_test_env.h"
#include "commands/command_run.h"

namespace ovp {
namespace {

using test::CommandFixture;

TEST(ContinuousBackupTest, FailureTextOfEachState) {
    const std::string connect =
        "The Continuous Backup Operation has failed to connect to the Grp Caption server. The "
        "application will automatically try to enable the operation again after ";
    struct Case {
        int code;
        const char* retry;  // CDP_RETRY, stored plain
        bool localised;
        std::string expected;
    } cases[] = {
        {12, "", false,
         "The backup operation has been stopped as the same username has been used on another computer where the "
         "backup operation is in progress. To proceed further, register after the backup operation on the other "
         "computer is over"},
        {13, "", false,
         "The Continuous Data Backup operation has failed as the password was changed from the website. Login with "
         "the new Password and try again."},
        {15, "2", false, connect + "2 hours."},
        {15, "", false, connect + "24 hours."},
        {17, "", false, "The Continuous Data Backup Operation has failed as the username was canceled."},
        {18, "", false, "Check the proxy setting and enable the Continuous Data Backup operation again."},
        {19, "", false,
         "The Grp Caption server is under maintenance. The application will automatically try to enable the "
         "Continuous Data Backup operation after 24 hours."},
        {14, "", false, ""},
        {16, "", false, ""},
        // The service texts name the service; the others the product.
        {15, "2", true, "Tallux: Grp Caption, two hours"},
        {17, "", true, "Tallux: Grp Online, cancelled"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + (c.localised ? " localised" : ""));
        CommandFixture f;
        if (c.localised) {
            CreateFolders(f.fx.app / "Lang");
            test::WriteAll(f.fx.app / "Lang" / "English.txt",
                           "975=Tallux: Tallux, two hours\n977=Tallux: Tallux, cancelled\n");
        }
        f.fx.profiles.Write(f.ProfileFile(), "Orvessa", "CDP_RETRY", c.retry);
        std::string expected = c.expected;
        if (c.localised) {
            expected.replace(0, 6, c.code == 15 ? "Grp Caption" : "Grp Online");
        }
        EXPECT_EQ(ContinuousBackupFailureText(f.Context(), c.code), expected);
    }
}

TEST(ContinuousBackupTest, ClickAsksAndArmsTheTimerOnlyOnProceed) {
    for (const bool checked : {false, true}) {
        SCOPED_TRACE(checked ? "checked, cancelled" : "unchecked, proceeding");
        CommandFixture f;
        f.Context().trayMenu.SetChecked(TrayMenuItem::mnuCDP, checked);
        f.box.answers.push_back(!checked);
        CommandEnv env = f.Env();

        mnuCDP_Click(env);

        ASSERT_EQ(f.box.shown.size(), 1u);
        EXPECT_EQ(f.box.shown[0].message,
                  checked ? "On disabling this option, your files and folders will be backed up only at the next "
                            "scheduled time."
                          : "On enabling this option, files and folders selected for backup will be backed up in "
                            "real time on detecting changes.");
        EXPECT_EQ(f.box.shown[0].title, "Continuous data protection (CDP)");
        EXPECT_EQ(f.box.shown[0].firstCaption, "Proceed");
        EXPECT_EQ(f.box.shown[0].secondCaption, "Cancel");
        EXPECT_EQ(f.host.calls, checked ? std::vector<std::string>{} : std::vector<std::string>{"CDPTimer on"});
        EXPECT_TRUE(f.profiles.writes.empty());
        EXPECT_FALSE(f.Context().commandRunning);
    }
}

// While a command runs, a click and a tick do nothing (the tick still stops its timer), and Exit
// waits for the running command to end.
TEST(ContinuousBackupTest, ClicksWaitForTheRunningCommandAndExitForItsEnd) {
    CommandFixture f;
    CommandEnv env = f.Env();
    std::vector<std::string> callsWhileAsked;
    f.box.answers.push_back(true);
    f.box.whileOpen = [&] {
        mnuCDP_Click(env);
        CDPTimer_Timer(env);
        ExitWhenNoCommandRuns(env);
        callsWhileAsked = f.host.calls;
    };

    mnuCDP_Click(env);

    EXPECT_EQ(f.box.shown.size(), 1u);
    EXPECT_EQ(callsWhileAsked, std::vector<std::string>{"CDPTimer off"});
    EXPECT_EQ(f.host.calls, (std::vector<std::string>{"CDPTimer off", "CDPTimer on", "exit"}));
    EXPECT_TRUE(f.fx.companions.calls.empty());
    EXPECT_TRUE(f.profiles.writes.empty());
}

// Switching off: stop requests while the continuous job still runs, in rounds of 21, 21 and 51
// steps of 100 ms, window events let through every tenth step.
TEST(ContinuousBackupTest, SwitchOffStopsTheRunningJobInThreeRounds) {
    struct Case {
        const char* name;
        const char* running;
        int stopsUntilEnded;  // the job ends after this many stop requests; -1 never
        int stopRequests;
        std::size_t steps;
        std::size_t pumps;
    } cases[] = {
        {"not running", "0", -1, 0, 42, 4},
        {"ends after the first request", "1", 1, 1, 42, 4},
        {"keeps running", "1", -1, 3, 93, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommandFixture f;
        f.Shared("RTBackup", c.running);
        f.Shared("RTBPausedBySch", "3");
        f.Shared("RealTimeBackup", "1");
        f.Context().trayMenu.SetChecked(TrayMenuItem::mnuCDP, true);
        int stops = 0;
        f.profiles.onWrite = [&](std::string_view section, std::string_view key, std::string_view) {
            if (section == "BackupStatus" && key == "DLLStatus" && ++stops == c.stopsUntilEnded) {
                f.Shared("RTBackup", "0");
            }
        };
        CommandEnv env = f.Env();

        CDPTimer_Timer(env);

        EXPECT_EQ(f.profiles.WritesOf("BackupStatus/Status"), std::vector<std::string>(c.stopRequests, "5"));
        EXPECT_EQ(f.profiles.WritesOf("BackupStatus/DLLStatus"), std::vector<std::string>(c.stopRequests, "3"));
        EXPECT_EQ(f.fx.clock.sleeps, std::vector<std::uint32_t>(c.steps, 100));
        EXPECT_EQ(f.fx.clock.pumpingWaits, std::vector<std::uint32_t>(c.pumps, 0));
        EXPECT_EQ(f.fx.companions.calls, std::vector<std::string>{"PostCDPStatusMsg 0"});
        EXPECT_EQ(f.fx.companions.lastLibrary, f.fx.app / "GrpRealTime.dll");
        EXPECT_EQ(f.Shared("RealTimeBackup"), "0");
        EXPECT_EQ(f.Plain("RealTimeBackup"), "0");
        EXPECT_EQ(f.Shared("RTBPausedBySch"), "0");
        EXPECT_EQ(f.Shared("RTBackup"), "0");
        EXPECT_EQ(f.tray.tips, std::vector<std::string>{"Disabling Continuous Backup."});
        EXPECT_EQ(f.host.calls, (std::vector<std::string>{"CDPTimer off", "busy", "normal"}));
        EXPECT_EQ(f.Context().trayMenu.Item(TrayMenuItem::mnuCDP).caption, "Continuous Backup");
        EXPECT_FALSE(f.Context().trayMenu.Item(TrayMenuItem::mnuCDP).checked);
        EXPECT_FALSE(f.Context().commandRunning);
    }
}

TEST(ContinuousBackupTest, SwitchOnAfterTheJobQuestionAndTheAccountCheck) {
    struct Case {
        const char* name;
        const char* jobStatus;
        bool cancelJob;
        const char* clientAnswer;
        std::vector<std::string> companions;
        const char* choice;  // RealTimeBackup afterwards in both places; nullptr: never written
        std::vector<std::string> hostCalls;
    } cases[] = {
        {"account in order", "0", false, "402", {"PostCDPStatusMsg 1"}, "1", {"CDPTimer off", "busy", "normal"}},
        {"account check failed", "0", false, "-416", {}, "0", {"CDPTimer off", "busy", "normal"}},
        {"job cancelled first", "1", true, "402", {"PostCDPStatusMsg 1"}, "1", {"CDPTimer off", "busy", "normal"}},
        {"job kept", "2", false, "402", {}, nullptr, {"CDPTimer off"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommandFixture f;
        f.Status("Status", c.jobStatus);
        f.box.answers.push_back(c.cancelJob);
        f.Obscured("random", "777");
        f.Shared("RTBPausedBySch", "2");
        f.fx.launcher.behaviour = [&](const LaunchRequest&) {
            test::FakeLauncher::Run run;
            run.onExit = [&] { f.Status("RetValue", c.clientAnswer); };
            return run;
        };
        f.profiles.writes.clear();
        CommandEnv env = f.Env();

        CDPTimer_Timer(env);

        EXPECT_EQ(f.fx.companions.calls, c.companions);
        EXPECT_EQ(f.host.calls, c.hostCalls);
        if (c.choice == nullptr) {
            EXPECT_TRUE(f.profiles.writes.empty());
            EXPECT_TRUE(f.fx.launcher.launches.empty());
            continue;
        }
        EXPECT_EQ(f.Shared("RealTimeBackup"), c.choice);
        EXPECT_EQ(f.Plain("RealTimeBackup"), c.choice);
        const bool on = std::string_view(c.choice) == "1";
        EXPECT_EQ(f.fx.profiles.Read(f.UserNameFile(), "Registry", "CurrentUser"), on ? "alice" : "");
        EXPECT_EQ(f.Shared("RTBPausedBySch"), on ? "0" : "2");
        EXPECT_EQ(f.tray.tips.front(), "Enabling the Continuous Data Backup operation.");
    }
}

// Each call releases one pause; only the last one resumes, and only when the user wants
// continuous backup.
TEST(ContinuousBackupTest, RestartReleasesOnePauseAndResumesAfterTheLast) {
    struct Case {
        const char* paused;
        const char* choice;
        int calls;
        const char* after;
        bool resumed;
    } cases[] = {
        {"1", "1", 1, "0", true}, {"2", "1", 1, "1", false},  {"2", "1", 2, "0", true},  {"0", "1", 1, "0", false},
        {"", "1", 1, "0", false}, {"-1", "1", 1, "0", false}, {"1", "0", 1, "0", false}, {"x", "1", 1, "0", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("paused ") + c.paused + ", choice " + c.choice + ", calls " + std::to_string(c.calls));
        CommandFixture f;
        f.Shared("RTBPausedBySch", c.paused);
        f.Shared("RealTimeBackup", c.choice);

        for (int call = 0; call < c.calls; ++call) {
            RestartRealtimeSystem(f.Context());
        }

        EXPECT_EQ(f.Shared("RTBPausedBySch"), c.after);
        EXPECT_EQ(f.fx.companions.calls,
                  c.resumed ? std::vector<std::string>{"PostCDPStatusMsg 1"} : std::vector<std::string>{});
        EXPECT_EQ(f.fx.clock.sleeps, c.resumed ? std::vector<std::uint32_t>{1000} : std::vector<std::uint32_t>{});
    }
}

// The two-second tick releases a pause when a scheduled job stops running.
TEST(ContinuousBackupTest, EndOfAScheduledJobReleasesItsPause) {
    struct NoStatusWindow : IStatusWindowHost {
        void ShowStatusWindow() override {}
    };
    struct Case {
        std::vector<const char*> statuses;  // `Status` at each tick
        const char* paused;
        const char* after;
    } cases[] = {
        {{"1", "0"}, "2", "1"}, {{"1", "5"}, "2", "1"},           {{"1", "1"}, "2", "2"},
        {{"0", "0"}, "2", "2"}, {{"1", "0", "1", "0"}, "2", "0"}, {{"1", "0"}, "0", "0"},
    };
    for (const Case& c : cases) {
        CommandFixture f;
        test::WriteAll(f.UserFile("scheduleData.txt"), "1\r\n");
        f.Shared("RTBPausedBySch", c.paused);
        NoStatusWindow window;
        TrayStatusMonitor monitor(f.Context(), f.tray, window);
        for (const char* status : c.statuses) {
            f.Status("Status", status);
            monitor.Tick();
        }
        EXPECT_EQ(f.Shared("RTBPausedBySch"), c.after);
    }
}

}  // namespace
}  // namespace ovp
