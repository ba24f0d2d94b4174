#include "commands/version_update.h"

#include <gtest/gtest.h>

#include "command_test_env.h"
#include "commands/tray_commands.h"

namespace ovp {
namespace {

using test::FakeHttpAnswer;

constexpr std::string_view kLinks =
    "[WebLink]\r\nUpdateLink=https://www.example.com/update?v=\r\nSetupLink=https://www.example.com/setup\r\n"
    "LoginLink=https://www.example.com/login\r\nAccountUpgradeLink=https://www.example.com/up?acc=\r\n";

class VersionUpdateTest : public ::testing::Test {
  protected:
    VersionUpdateTest() {
        fx_.fx.registry.WriteString(RegistryRoot::CurrentUser, "Software\\Harrowlane\\Grp Backup\\Application",
                                    "Version", "5.1 beta&x");
    }
    std::vector<std::string> Opened() {
        std::vector<std::string> opened;
        for (const ShellRequest& request : fx_.fx.shell.requests) {
            opened.push_back(Utf8FromPath(request.file));
        }
        return opened;
    }

    test::CommandFixture fx_{test::GroupConfiguration() + std::string(kLinks)};
    CommandEnv env_ = fx_.Env();
};

TEST_F(VersionUpdateTest, OnlyTheSingleLetterYOffersTheSetupPage) {
    struct Case {
        FakeHttpAnswer answer;
        bool asked;
    };
    const Case cases[] = {
        {FakeHttpAnswer::Status(200, "Y"), true},     {FakeHttpAnswer::Status(200, "y\n"), true},
        {FakeHttpAnswer::Status(200, "Y\r\n"), true}, {FakeHttpAnswer::Status(200, "Yes"), false},
        {FakeHttpAnswer::Status(200, ""), false},     {FakeHttpAnswer::Status(500, "Y"), false},
        {FakeHttpAnswer::SendFailure(12007), false},
    };
    for (const Case& c : cases) {
        fx_.box.shown.clear();
        fx_.box.answers = {true};
        fx_.fx.shell.requests.clear();
        fx_.fx.http.answers = {c.answer};
        mnuVersionUpdate_Click(env_);
        ASSERT_EQ(fx_.box.shown.size(), 1u) << c.answer.body;
        const MessageBoxRequest& shown = fx_.box.shown[0];
        if (c.asked) {
            EXPECT_EQ(shown.message, "Do you want to upgrade to the latest version of Grp Caption?");
            EXPECT_EQ(shown.firstCaption + "/" + shown.secondCaption + "/" + shown.iconKind, "Yes/No/question");
            EXPECT_EQ(Opened(), std::vector<std::string>{"https://www.example.com/setup"}) << c.answer.body;
        } else {
            EXPECT_EQ(shown.message, "The latest version of Grp Caption is already installed on your computer.");
            EXPECT_EQ(shown.secondCaption + "/" + shown.iconKind, "Close/info");
            EXPECT_TRUE(Opened().empty()) << c.answer.body;
        }
    }
    EXPECT_EQ(fx_.fx.http.requests.back().object, "https://www.example.com/update?v=5.1%20beta%26x");
    // The daily missed-backup check compares with the version the check asked about.
    EXPECT_EQ(fx_.Context().knownVersion, "5.1 beta&x");
}

TEST_F(VersionUpdateTest, ASecondClickDuringTheCheckIsIgnored) {
    fx_.Context().commandRunning = true;
    mnuVersionUpdate_Click(env_);
    EXPECT_TRUE(fx_.fx.http.requests.empty());
    EXPECT_TRUE(fx_.box.shown.empty());
}

TEST_F(VersionUpdateTest, TheQuotaItemOpensTheUpgradePageOnlyWhenLoggedIn) {
    const auto marker = fx_.UserFile("QuotaExceeded.txt");
    test::WriteAll(marker, "");
    TrayCommands commands(env_);
    commands.OnMenuCommand(TrayMenuItem::MnuQuotaExceeded);
    EXPECT_EQ(Opened(), std::vector<std::string>{"https://www.example.com/login"});
    EXPECT_TRUE(FileExists(marker));

    fx_.fx.shell.requests.clear();
    fx_.fx.registry.WriteDword(RegistryRoot::CurrentUser, "Software\\Harrowlane\\Grp Backup\\Connection Parameters",
                               "Status", 2);
    commands.OnMenuCommand(TrayMenuItem::MnuQuotaExceeded);
    EXPECT_EQ(Opened(), std::vector<std::string>{"https://www.example.com/up?acc=alice"});
    EXPECT_FALSE(FileExists(marker));
}

}  // namespace
}  // namespace ovp
