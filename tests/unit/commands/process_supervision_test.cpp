#include "commands/process_supervision.h"

#include <gtest/gtest.h>

#include <optional>

#include "command_test_env.h"
#include "commands/login.h"

namespace ovp {
namespace {

using test::CommandFixture;

constexpr const char* kClient = "C:\\app\\GrpClsClient.exe";
constexpr const char* kClassic = "C:\\app\\GrpClassic.exe";
constexpr const char* kContextMenu = "C:\\app\\GrpContextMenu.exe";
constexpr const char* kConnectionKey = "Software\\Harrowlane\\Grp Backup\\Connection Parameters";

// Ids read from shared files are often stale: only an engine client of this session is ended.
TEST(EndEngineClientTest, EndsOnlyAnEngineClientOfThisSessionByAValidId) {
    enum class Owner { ThisSession, OtherSession, Monitor };
    struct Case {
        const char* name;
        const char* image;  // of the one process, id 100 (4 for the system id case)
        Owner owner;
        const char* stored;
        EndByIdResult expected;
    } cases[] = {
        {"client", kClient, Owner::ThisSession, "100", EndByIdResult::Ended},
        {"main application", kClassic, Owner::ThisSession, "100", EndByIdResult::Ended},
        {"context-menu tool", kContextMenu, Owner::ThisSession, " 100 ", EndByIdResult::Ended},
        {"id recycled by another program", "C:\\Windows\\notepad.exe", Owner::ThisSession, "100",
         EndByIdResult::Refused},
        {"client of another session", kClient, Owner::OtherSession, "100", EndByIdResult::Refused},
        {"the monitor itself", kClient, Owner::Monitor, "100", EndByIdResult::Refused},
        {"system id", kClient, Owner::ThisSession, "4", EndByIdResult::NotRunning},
        {"empty", kClient, Owner::ThisSession, "", EndByIdResult::NotRunning},
        {"zero", kClient, Owner::ThisSession, "0", EndByIdResult::NotRunning},
        {"signed", kClient, Owner::ThisSession, "-100", EndByIdResult::NotRunning},
        {"beyond 32 bits", kClient, Owner::ThisSession, "4294967396", EndByIdResult::NotRunning},
        {"text", kClient, Owner::ThisSession, "100abc", EndByIdResult::NotRunning},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommandFixture f;
        const std::uint32_t id = std::string_view(c.stored) == "4" ? 4 : 100;
        f.fx.processes.running.push_back({id, c.image});
        if (c.owner == Owner::OtherSession) {
            f.fx.processes.otherSession.push_back(id);
        }
        if (c.owner == Owner::Monitor) {
            f.fx.processes.selfId = id;
        }
        EXPECT_EQ(EndEngineClient(f.Context(), c.stored), c.expected);
        EXPECT_EQ(f.fx.processes.ended.size(), c.expected == EndByIdResult::Ended ? 1u : 0u);
    }
}

TEST(ConfirmedCancelTest, AsksOnlyWhileAJobRunsAndCancelsItOnYes) {
    struct Case {
        const char* name;
        const char* status;
        std::optional<bool> answer;  // nullopt: no question expected
        bool storedIds;
        CancelDecision expected;
        std::vector<std::string> writes;
        int endedProcesses;
    } cases[] = {
        {"nothing runs", "0", std::nullopt, true, CancelDecision::GoOn, {}, 0},
        {"restore kept", "2", false, true, CancelDecision::Stop, {}, 0},
        {"backup cancelled",
         "1",
         true,
         true,
         CancelDecision::GoOn,
         {"BackupStatus/Status=5", "BackupStatus/DLLStatus=3", "BackupStatus/Status=5", "ProgressInfo/Cancel=1"},
         3},
        {"backup cancelled without ids",
         "1",
         true,
         false,
         CancelDecision::GoOn,
         {"BackupStatus/Status=5", "BackupStatus/DLLStatus=3", "BackupStatus/Status=5", "ProgressInfo/Cancel=1"},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommandFixture f;
        f.Status("Status", c.status);
        const std::uint32_t backup = f.fx.processes.Add(kClient);
        const std::uint32_t restore = f.fx.processes.Add(kClient);
        f.fx.processes.Add(kContextMenu);
        if (c.storedIds) {
            f.Obscured("ClientPID", std::to_string(backup));
            f.Obscured("ClientPIDR", std::to_string(restore));
        }
        test::WriteAll(f.UserFile("ContextMenuRun.txt"), "");
        f.profiles.writes.clear();
        if (c.answer) {
            f.box.answers.push_back(*c.answer);
        }
        CommandEnv env = f.Env();

        EXPECT_EQ(ConfirmedCancel(env), c.expected);

        ASSERT_EQ(f.box.shown.size(), c.answer ? 1u : 0u);
        if (c.answer) {
            const MessageBoxRequest& asked = f.box.shown[0];
            EXPECT_EQ(asked.message, "A backup/restore job is in progress. Do you want to cancel it?");
            EXPECT_EQ(asked.firstCaption, "Yes");
            EXPECT_EQ(asked.secondCaption, "Cancel");
            EXPECT_EQ(asked.iconKind, "question");
            EXPECT_EQ(asked.owner, 77u);
        }
        EXPECT_EQ(f.profiles.writes, c.writes);
        EXPECT_EQ(static_cast<int>(f.fx.processes.ended.size()), c.endedProcesses);
        EXPECT_EQ(FileExists(f.UserFile("ContextMenuRun.txt")), c.endedProcesses == 0);
    }
}

// The logout from another program, the change of user and the logout command end the same things,
// each with its own trace; the backup client is ended only when the context menu started it.
TEST(LogoutCleanupTest, EndsTheJobsTheApplicationAndContinuousBackupWithItsTraces) {
    enum class Procedure { ExplorerLogout, Relogin, LogoutCommand };
    // The backup client is process 100, the restore client 101.
    const std::vector<std::string> logout{"Explorer logout",
                                          "IntBackup = 1",
                                          "Interactive backup running for the user: bob",
                                          "Interactive backup with Process ID = 100",
                                          "Interactive Restore with Process ID = 101",
                                          "Terminating the process-Restore  101"};
    std::vector<std::string> relogin = logout;
    relogin[3] = "Context backup with Process ID = 100";
    relogin.insert(relogin.begin() + 4, "Terminating the process  100");
    std::vector<std::string> command = relogin;
    command[0] = "Logged out and set Connection Paramter to 0";
    command.erase(command.begin() + 4);
    const std::vector<std::string> post{"PostCDPStatusMsg 0"};
    const std::vector<std::string> sendAndPost{"SendMsgToApp 1034", "PostCDPStatusMsg 0"};
    struct Case {
        const char* name;
        Procedure procedure;
        bool contextMenuRun;  // the backup client is ended only then
        std::vector<std::string> traces;
        std::vector<std::string> companions;
    } cases[] = {
        {"explorer logout, interactive backup", Procedure::ExplorerLogout, false, logout, post},
        {"explorer logout, context-menu backup", Procedure::ExplorerLogout, true, logout, post},
        {"relogin", Procedure::Relogin, true, relogin, sendAndPost},
        {"logout command", Procedure::LogoutCommand, false, command, sendAndPost},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommandFixture f;
        f.Status("Status", "1");
        f.fx.registry.WriteDword(RegistryRoot::CurrentUser, kConnectionKey, "Status", 1);
        f.Shared("Interactive", "bob");
        f.Shared("RTBackup", "1");
        f.Shared("RTBPausedBySch", "2");
        f.Shared("RealTimeBackup", "1");
        const std::uint32_t backup = f.fx.processes.Add(kClient);
        const std::uint32_t restore = f.fx.processes.Add(kClient);
        const std::uint32_t classic = f.fx.processes.Add(kClassic);
        f.Obscured("ClientPID", std::to_string(backup));
        f.Obscured("ClientPIDR", std::to_string(restore));
        if (c.contextMenuRun) {
            test::WriteAll(f.UserFile("ContextMenuRun.txt"), "");
        }
        test::WriteAll(f.UserFile("QuotaExceeded.txt"), "");
        const WindowHandle mainWindow = f.fx.windows.Add("Grp Caption (alice)");
        const WindowHandle loginWindow = f.fx.windows.Add("Grp Caption - Login");
        f.Context().trayMenu.SetVisible(TrayMenuItem::MnuQuotaExceeded, true);
        f.Context().trayMenu.SetVisible(TrayMenuItem::BLLine, true);
        f.tray.SetTip("old tip");
        f.profiles.writes.clear();
        CommandEnv env = f.Env();

        switch (c.procedure) {
            case Procedure::ExplorerLogout:
                ExplorerLogout(env);
                break;
            case Procedure::Relogin:
                Relogin(env);
                break;
            case Procedure::LogoutCommand:
                f.box.answers.push_back(true);
                MnuLogin_Click(env);
                break;
        }

        std::vector<std::string> expected;
        for (const std::string& line : c.traces) {
            expected.push_back("   [INFORMATION] " + line);
        }
        EXPECT_EQ(f.Traces(), expected);
        std::vector<std::uint32_t> ended{restore, classic};
        if (c.contextMenuRun) {
            ended.insert(ended.begin(), backup);
        }
        EXPECT_EQ(f.fx.processes.ended, ended);
        // The restore client's end is what marks the job stopped.
        EXPECT_EQ(f.profiles.WritesOf("BackupStatus/Status").size(), c.contextMenuRun ? 2u : 1u);
        EXPECT_EQ(f.Status("Status"), "0");
        EXPECT_EQ(f.fx.companions.calls, c.companions);
        EXPECT_EQ(f.fx.companions.lastLibrary, f.fx.app / "GrpRealTime.dll");
        EXPECT_EQ(f.fx.registry.Read(RegistryRoot::CurrentUser, kConnectionKey, "Status").AsText(), "0");
        EXPECT_FALSE(f.Context().trayMenu.Item(TrayMenuItem::MnuQuotaExceeded).visible);
        EXPECT_FALSE(f.Context().trayMenu.Item(TrayMenuItem::BLLine).visible);
        EXPECT_EQ(f.tray.Tip(), "");
        EXPECT_FALSE(FileExists(f.UserFile("QuotaExceeded.txt")));
        EXPECT_EQ(f.Shared("RTBackup"), "0");
        EXPECT_EQ(f.Shared("RTBPausedBySch"), "0");

        std::vector<std::pair<std::string, WindowHandle>> windowCalls{{"close", mainWindow}};
        if (c.procedure == Procedure::Relogin) {
            windowCalls.emplace_back("close", loginWindow);
            ASSERT_EQ(f.fx.shell.requests.size(), 1u);
            EXPECT_EQ(f.fx.shell.requests[0].verb, "open");
            EXPECT_EQ(f.fx.shell.requests[0].file, f.fx.app / "GrpClassic.exe");
        } else {
            EXPECT_TRUE(f.fx.shell.requests.empty());
        }
        EXPECT_EQ(f.fx.windows.calls, windowCalls);
        const bool choiceCleared = c.procedure != Procedure::ExplorerLogout;
        EXPECT_EQ(f.Shared("RealTimeBackup"), choiceCleared ? "0" : "1");
        EXPECT_EQ(f.Plain("RealTimeBackup"), choiceCleared ? "0" : "");
    }
}

}  // namespace
}  // namespace ovp
