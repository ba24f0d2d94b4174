#include "commands/process_supervision.h"

#include <gtest/gtest.h>

#include "command_test_env.h"
#include "commands/login.h"

namespace ovp {
namespace {

using test::CommandFixture;

constexpr const char* kClient = "C:\\app\\GrpClsClient.exe";
constexpr const char* kConnection = "Software\\Harrowlane\\Grp Backup\\Connection Parameters";

// Ids read from shared files are often stale: only an engine client is ended, by a valid id. The
// malformed ids come first, so that none of them can pass for 100 unnoticed.
TEST(EndEngineClientTest, EndsOnlyAnEngineClientByAValidId) {
    using enum EndByIdResult;
    CommandFixture f;
    f.fx.processes.running = {
        {4, kClient}, {100, kClient}, {101, "C:\\app\\GrpContextMenu.exe"}, {102, "C:\\Windows\\notepad.exe"}};
    const std::pair<const char*, EndByIdResult> cases[] = {
        {"100abc", NotRunning}, {"-100", NotRunning}, {"4294967396", NotRunning}, {"4", NotRunning}, {" 100 ", Ended},
        {"101", Ended},         {"102", Refused}};
    for (const auto& [stored, expected] : cases) {
        EXPECT_EQ(EndEngineClient(f.Context(), stored), expected) << stored;
    }
}

// The logout from another program, the change of user and the logout command end the same things,
// each with its own trace; the backup client (100) is ended only when the context menu started it.
TEST(LogoutCleanupTest, EndsTheJobsTheApplicationAndContinuousBackupWithItsTraces) {
    const std::string jobs = "IntBackup = 1|Interactive backup running for the user: bob|";
    const std::string restore = "Interactive Restore with Process ID = 101|Terminating the process-Restore  101|";
    // the procedure (the logout command answered "Yes"); ContextMenuRun.txt; the trace
    const std::tuple<void (*)(CommandEnv&), bool, std::string> cases[] = {
        {ExplorerLogout, false, "Explorer logout|" + jobs + "Interactive backup with Process ID = 100|" + restore},
        {Relogin, true,
         "Explorer logout|" + jobs + "Context backup with Process ID = 100|Terminating the process  100|" + restore},
        {MnuLogin_Click, false,
         "Logged out and set Connection Paramter to 0|" + jobs + "Context backup with Process ID = 100|" + restore}};
    for (const auto& [procedure, contextMenuRun, traces] : cases) {
        SCOPED_TRACE(traces);
        CommandFixture f;
        f.Status("Status", "1");
        f.Shared("Interactive", "bob");
        f.fx.processes.running = {{100, kClient}, {101, kClient}, {102, "C:\\app\\GrpClassic.exe"}};
        f.Obscured("ClientPID", "100");
        f.Obscured("ClientPIDR", "101");
        if (contextMenuRun) {
            test::WriteAll(f.UserFile("ContextMenuRun.txt"), "");
        }
        test::WriteAll(f.UserFile("QuotaExceeded.txt"), "");
        f.fx.windows.Add("Grp Caption (alice)");
        f.fx.windows.Add("Grp Caption - Login");
        f.fx.registry.WriteDword(RegistryRoot::CurrentUser, kConnection, "Status", 1);
        f.tray.SetTip("Logged in");
        f.box.answers.push_back(true);
        CommandEnv env = f.Env();
        procedure(env);
        EXPECT_EQ(f.Information(), traces);
        EXPECT_EQ(f.fx.processes.ended.size(), contextMenuRun ? 3u : 2u);  // 100, 101 and the main application
        EXPECT_EQ(f.Status("Status"), "0");
        EXPECT_EQ(f.fx.registry.Read(RegistryRoot::CurrentUser, kConnection, "Status").AsText() + f.tray.Tip(), "0");
        EXPECT_FALSE(FileExists(f.UserFile("QuotaExceeded.txt")));
        EXPECT_EQ(f.Shared("RTBackup"), "0");
        const bool relogin = procedure == Relogin;
        EXPECT_EQ(f.fx.windows.calls.size(), relogin ? 2u : 1u);  // the main window, the login window
        EXPECT_EQ(f.fx.shell.requests.size(), relogin ? 1u : 0u);
        EXPECT_EQ(f.fx.companions.calls.size(),
                  procedure == ExplorerLogout ? 1u : 2u);  // user change; continuous backup off
        EXPECT_EQ(f.Shared("RealTimeBackup"), procedure == ExplorerLogout ? "" : "0");
    }
}

// The login caption opens the main application (closing its login window) without a question. The
// logout asks; it tells a scheduled backup still in progress (ProgStatus "2") to stop when the
// schedule file names no running job or is missing.
TEST(MnuLoginTest, LoginOpensTheApplicationAndLogoutAsksFirst) {
    const std::string question = "Are you sure you want to logout from Grp Online?|Yes|Cancel||77;";
    // the "&Login" caption; another command runs; the answer; ProgStatus; the schedule file's marker
    // (nullptr: no file); the Status writes
    const std::tuple<bool, bool, bool, const char*, const char*, const char*> cases[] = {
        {true, false, true, "2", "0", ""},        {false, true, true, "2", "0", ""},
        {false, false, false, "2", "0", ""},      {false, false, true, "2", "0", "5|"},
        {false, false, true, "2", nullptr, "5|"}, {false, false, true, "2", "1", ""},
        {false, false, true, "1", "0", ""}};
    for (const auto& [login, otherCommand, answer, progress, marker, stops] : cases) {
        CommandFixture f;
        f.Context().trayMenu.SetCaption(TrayMenuItem::MnuLogin, login ? "&Login" : "&Logout");
        f.Context().commandRunning = otherCommand;
        f.box.answers.push_back(answer);
        f.Status("ProgStatus", progress);
        if (marker) {
            test::WriteAll(f.UserFile("scheduleData.txt"), std::string(marker) + "\r\n");
        }
        f.fx.windows.Add("Grp Caption - Login");
        CommandEnv env = f.Env();
        MnuLogin_Click(env);
        const bool asked = !login && !otherCommand;
        EXPECT_EQ(f.Asked(), asked ? question : "");
        EXPECT_EQ(f.profiles.Writes("BackupStatus/Status="), stops);
        EXPECT_EQ(f.fx.companions.calls.empty(), !asked || !answer);
        EXPECT_EQ(f.fx.shell.requests.size() + f.fx.windows.calls.size(), login ? 2u : 0u);
    }
}

}  // namespace
}  // namespace ovp
