#include "commands/login.h"

#include <gtest/gtest.h>

#include "command_test_env.h"

namespace ovp {
namespace {

using test::CommandFixture;

TEST(MnuLoginTest, TheLoginCaptionOpensTheMainApplicationWithoutAQuestion) {
    CommandFixture f;
    f.Context().trayMenu.SetCaption(TrayMenuItem::MnuLogin, "&Login");
    const WindowHandle login = f.fx.windows.Add("Grp Caption - Login");
    CommandEnv env = f.Env();

    MnuLogin_Click(env);

    EXPECT_TRUE(f.box.shown.empty());
    EXPECT_EQ(f.fx.windows.calls, (std::vector<std::pair<std::string, WindowHandle>>{{"close", login}}));
    ASSERT_EQ(f.fx.shell.requests.size(), 1u);
    EXPECT_EQ(f.fx.shell.requests[0].file, f.fx.app / "GrpClassic.exe");
    EXPECT_TRUE(f.fx.companions.calls.empty());
}

// Declining, or a command already running, leaves everything as it was.
TEST(MnuLoginTest, LogoutDeclinedOrDuringAnotherCommandChangesNothing) {
    for (const bool otherCommand : {false, true}) {
        SCOPED_TRACE(otherCommand ? "another command runs" : "cancelled");
        CommandFixture f;
        f.Context().commandRunning = otherCommand;
        f.box.answers.push_back(otherCommand);
        CommandEnv env = f.Env();

        MnuLogin_Click(env);

        ASSERT_EQ(f.box.shown.size(), otherCommand ? 0u : 1u);
        if (!otherCommand) {
            EXPECT_EQ(f.box.shown[0].message, "Are you sure you want to logout from Grp Online?");
            EXPECT_EQ(f.box.shown[0].firstCaption, "Yes");
            EXPECT_EQ(f.box.shown[0].secondCaption, "Cancel");
        }
        EXPECT_TRUE(f.profiles.writes.empty());
        EXPECT_TRUE(f.fx.companions.calls.empty());
        EXPECT_EQ(f.fx.registry.writeCount, 0);
        EXPECT_TRUE(f.tray.tips.empty());
    }
}

// A scheduled backup whose progress says "2" is told to stop when the schedule file names no running
// job or is missing.
TEST(MnuLoginTest, LogoutStopsAScheduledBackupLeftInProgress) {
    struct Case {
        const char* progress;
        const char* marker;  // nullptr: no schedule file
        bool stopRequested;
    } cases[] = {
        {"2", "0", true},
        {"2", nullptr, true},
        {"2", "1", false},
        {"1", "0", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.progress) + " / " + (c.marker ? c.marker : "missing"));
        CommandFixture f;
        f.Status("ProgStatus", c.progress);
        if (c.marker) {
            test::WriteAll(f.UserFile("scheduleData.txt"), std::string(c.marker) + "\r\n");
        }
        f.box.answers.push_back(true);
        CommandEnv env = f.Env();

        MnuLogin_Click(env);

        const auto statusWrites = f.profiles.WritesOf("BackupStatus/Status");
        EXPECT_EQ(statusWrites, c.stopRequested ? std::vector<std::string>{"5"} : std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace ovp
