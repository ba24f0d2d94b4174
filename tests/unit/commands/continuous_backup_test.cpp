#include "commands/continuous_backup.h"

#include <gtest/gtest.h>

#include "app/tray_status_monitor.h"
#include "command_test_env.h"
#include "commands/command_run.h"

namespace ovp {
namespace {

using test::CommandFixture;
using Calls = std::vector<std::string>;

// The states 12 to 20; the service texts name the service ("Grp Caption"), the others the product.
TEST(ContinuousBackupTest, FailureTextOfEachState) {
    CommandFixture f;
    CreateFolders(f.fx.app / "Lang");
    test::WriteAll(f.fx.app / "Lang" / "English.txt",
                   "973=a\n974=b\n975=c Tallux\n976=d Tallux\n977=e Tallux\n1576=f\n978=g Tallux\n");
    std::string texts;
    for (int code = 12; code <= 20; ++code) {
        texts += ContinuousBackupFailureText(f.Context(), code) + "|";
    }
    EXPECT_EQ(texts, "a|b||d Grp Caption||e Grp Online|f|g Grp Caption|g Grp Caption|");
    f.fx.profiles.Write(f.UserFile("Grp Backup.ini"), "Orvessa", "CDP_RETRY", "2");
    EXPECT_EQ(ContinuousBackupFailureText(f.Context(), 15), "c Grp Caption");
}

// The click asks and arms the timer on "Proceed". While it asks, a click and a tick do nothing (the
// tick still stops its timer), and Exit waits for the click to end.
TEST(ContinuousBackupTest, ClickAsksAndIgnoresOtherCommandsMeanwhile) {
    for (const bool checked : {false, true}) {
        CommandFixture f;
        f.Context().trayMenu.SetChecked(TrayMenuItem::mnuCDP, checked);
        f.box.answers.push_back(!checked);
        CommandEnv env = f.Env();
        f.box.whileOpen = [&] {
            mnuCDP_Click(env);
            CDPTimer_Timer(env);
            ExitWhenNoCommandRuns(env);
        };
        mnuCDP_Click(env);
        EXPECT_EQ(f.Asked(), std::string(checked ? "On disabling this option, your files and folders will be backed up "
                                                   "only at the next scheduled time."
                                                 : "On enabling this option, files and folders selected for backup "
                                                   "will be backed up in real time on detecting changes.") +
                                 "|Proceed|Cancel|Continuous data protection (CDP)|77;");
        EXPECT_EQ(f.host.calls,
                  (checked ? Calls{"CDPTimer off", "exit"} : Calls{"CDPTimer off", "CDPTimer on", "exit"}));
    }
}

// Switching off: stop requests while the continuous job still runs, in rounds of 21, 21 and 51
// steps of 100 ms, window events let through every tenth step.
TEST(ContinuousBackupTest, SwitchOffStopsTheRunningJobInThreeRounds) {
    const std::string stop = "Status=5|DLLStatus=3|";
    // RTBackup; the job ends after that many stop requests (-1 never); the stop requests; steps; pumps
    const std::tuple<const char*, int, std::string, std::size_t, std::size_t> cases[] = {
        {"0", -1, "", 42, 4}, {"1", 1, stop, 42, 4}, {"1", -1, stop + stop + stop, 93, 9}};
    for (const auto& [running, stopsUntilEnded, stopRequests, steps, pumps] : cases) {
        SCOPED_TRACE(steps);
        CommandFixture f;
        f.Shared("RTBackup", running);
        f.Context().trayMenu.SetChecked(TrayMenuItem::mnuCDP, true);
        int stops = 0;
        f.profiles.onWrite = [&](std::string_view key) {
            if (key == "DLLStatus" && ++stops == stopsUntilEnded) {
                f.Shared("RTBackup", "0");
            }
        };
        CommandEnv env = f.Env();
        CDPTimer_Timer(env);
        EXPECT_EQ(f.profiles.Writes("BackupStatus/"), stopRequests);
        EXPECT_EQ(f.fx.clock.sleeps, std::vector<std::uint32_t>(steps, 100));
        EXPECT_EQ(f.fx.clock.pumpingWaits, std::vector<std::uint32_t>(pumps, 0));
        EXPECT_EQ(f.fx.companions.calls, Calls{"PostCDPStatusMsg 0"});
        EXPECT_EQ(f.Shared("RealTimeBackup") + f.Plain("RealTimeBackup") + f.Shared("RTBPausedBySch"), "000");
        EXPECT_EQ(f.host.calls, (Calls{"CDPTimer off", "busy", "normal"}));
    }
}

// Switching on: a running backup or restore is cancelled first, on "Yes" (its clients and the
// context-menu tool are ended), or switching on stops there; then the account check decides.
TEST(ContinuousBackupTest, SwitchOnAfterTheJobQuestionAndTheAccountCheck) {
    const std::string question = "A backup/restore job is in progress. Do you want to cancel it?|Yes|Cancel||77;";
    // Status; "Yes" to the cancel; the client's answer; BackupStatus written; RealTimeBackup afterwards
    const std::tuple<const char*, bool, const char*, const char*, const char*> cases[] = {
        {"0", false, "402", "RetValue=|", "1"},
        {"0", false, "-12", "RetValue=|", "0"},
        {"1", true, "402", "Status=5|DLLStatus=3|Status=5|RetValue=|", "1"},
        {"2", false, "402", "", ""}};
    for (const auto& [status, cancelJob, answer, writes, choice] : cases) {
        SCOPED_TRACE(std::string(status) + " " + answer);
        CommandFixture f;
        f.Status("Status", status);
        f.Obscured("ClientPID", std::to_string(f.fx.processes.Add("C:\\app\\GrpClsClient.exe")));
        f.Obscured("ClientPIDR", std::to_string(f.fx.processes.Add("C:\\app\\GrpClsClient.exe")));
        f.fx.processes.Add("C:\\app\\GrpContextMenu.exe");
        test::WriteAll(f.UserFile("ContextMenuRun.txt"), "");
        f.box.answers.push_back(cancelJob);
        f.Obscured("random", "777");
        f.fx.launcher.behaviour = [&](const LaunchRequest&) {
            f.Status("RetValue", answer);
            return test::FakeLauncher::Run{};
        };
        CommandEnv env = f.Env();
        CDPTimer_Timer(env);
        EXPECT_EQ(f.Asked(), *status == '0' ? "" : question);
        EXPECT_EQ(f.profiles.Writes("BackupStatus/"), writes);
        EXPECT_EQ(f.profiles.Writes("ProgressInfo/"), cancelJob ? "Cancel=1|" : "");
        EXPECT_EQ(f.fx.processes.ended.size(), cancelJob ? 3u : 0u);
        EXPECT_EQ(FileExists(f.UserFile("ContextMenuRun.txt")), !cancelJob);
        const bool on = std::string_view(choice) == "1";
        EXPECT_EQ(f.fx.companions.calls, on ? Calls{"PostCDPStatusMsg 1"} : Calls{});
        EXPECT_EQ(f.Shared("RealTimeBackup") + "/" + f.Plain("RealTimeBackup"), choice + std::string("/") + choice);
        EXPECT_EQ(f.Shared("RTBPausedBySch"), on ? "0" : "");
    }
}

// Each call releases one pause; only the last one resumes, and only when the user wants
// continuous backup. The two-second tick releases a pause when a scheduled job stops running.
TEST(ContinuousBackupTest, RestartReleasesOnePauseAndResumesAfterTheLast) {
    // RTBPausedBySch; RealTimeBackup; RTBPausedBySch afterwards; resumed
    const std::tuple<const char*, const char*, const char*, bool> cases[] = {
        {"1", "1", "0", true},   {"2", "1", "1", false}, {"0", "1", "0", false}, {"", "1", "0", false},
        {"-1", "1", "0", false}, {"1", "0", "0", false}, {"x", "1", "0", false}};
    for (const auto& [paused, choice, after, resumed] : cases) {
        SCOPED_TRACE(std::string(paused) + " " + choice);
        CommandFixture f;
        f.Shared("RTBPausedBySch", paused);
        f.Shared("RealTimeBackup", choice);
        RestartRealtimeSystem(f.Context());
        EXPECT_EQ(f.Shared("RTBPausedBySch"), after);
        EXPECT_EQ(f.fx.companions.calls, resumed ? Calls{"PostCDPStatusMsg 1"} : Calls{});
    }
    struct : IStatusWindowHost {
        void ShowStatusWindow() override {}
    } window;
    // `Status` at each tick; RTBPausedBySch afterwards, from 2
    const std::pair<std::vector<const char*>, const char*> ticks[] = {
        {{"1", "5"}, "1"}, {{"1", "1"}, "2"}, {{"0", "0"}, "2"}, {{"1", "0", "1", "0"}, "0"}};
    for (const auto& [statuses, after] : ticks) {
        CommandFixture f;
        test::WriteAll(f.UserFile("scheduleData.txt"), "1\r\n");
        f.Shared("RTBPausedBySch", "2");
        TrayStatusMonitor monitor(f.Context(), f.tray, window);
        for (const char* status : statuses) {
            f.Status("Status", status);
            monitor.Tick();
        }
        EXPECT_EQ(f.Shared("RTBPausedBySch"), after);
    }
}

}  // namespace
}  // namespace ovp
