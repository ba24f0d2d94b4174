#include "commands/web_management.h"

#include <gtest/gtest.h>

#include "command_test_env.h"
#include "commands/tray_commands.h"

namespace ovp {
namespace {

using test::CommandFixture;
using Calls = std::vector<std::string>;
using Item = TrayMenuItem;

constexpr std::string_view kSwitchOn =
    "On enabling this option, you will be able to manage your Backup Set, its Schedule and View Logs remotely via Web."
    "|Proceed|Cancel|Web Management|77;";
constexpr std::string_view kSwitchOff =
    "On disabling this feature, you will no longer be able to manage your Backup Set and Schedule via Web."
    "|Proceed|Cancel|Web Management|77;";

bool Checked(CommandFixture& f) {
    return f.Context().trayMenu.Item(Item::WebPlugin).checked;
}

// The information lines of the trace without their date and tag, each ended by "|".
std::string Traced(CommandFixture& f) {
    std::string text = f.Information();
    for (std::size_t at; (at = text.find("03-14-2026 09:30:00  [INFORMATION] ")) != std::string::npos;) {
        text.erase(at, 35);
    }
    return text;
}

// The click asks before switching either way and arms the timer on "Proceed"; without a user it
// switches off, hints at the login and opens the main application for it.
TEST(WebManagementTest, TheSwitchAsksRecordsAndArmsTheTimer) {
    const std::string login = "To enable web management login to your Grp Online account.|OK|Close||77;";
    const struct {
        const char* user;
        bool checked, proceed;
        std::string_view asked;
        const char *writes, *trace;
    } cases[] = {
        {"alice", false, true, kSwitchOn, "OLWA/ErrVal=|Web/WebPlugin=1|", "Enabling WebPlugin|"},
        {"alice", true, true, kSwitchOff, "Web/WebPlugin=0|OLWA/ErrVal=|", "Disabling WebPlugin|"},
        {"alice", false, false, kSwitchOn, "", ""},
        {"alice", true, false, kSwitchOff, "", ""},
        {"", true, true, login, "OLWA/ErrVal=|Web/WebPlugin=0|", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.user) + (c.checked ? " on" : " off") + (c.proceed ? " proceed" : " cancel"));
        CommandFixture f;
        f.fx.SetCurrentUser(c.user);
        f.Context().trayMenu.SetChecked(Item::WebPlugin, c.checked);
        f.box.answers.push_back(c.proceed);
        TrayCommands commands(f.Env());
        commands.OnMenuCommand(Item::WebPlugin);
        const bool switched = *c.user != '\0' && c.proceed;
        EXPECT_EQ(f.Asked(), c.asked);
        EXPECT_EQ(f.profiles.Writes(""), c.writes);
        EXPECT_EQ(f.host.calls, switched ? Calls{"WebMTimer on"} : Calls{});
        EXPECT_EQ(Checked(f), *c.user != '\0' && switched != c.checked);
        EXPECT_EQ(Traced(f), c.trace);
        const bool loginOpened =
            !f.fx.shell.requests.empty() && f.fx.shell.requests[0].file == f.fx.app / "GrpClassic.exe";
        EXPECT_EQ(loginOpened, *c.user == '\0');
    }
}

// The timer stops itself first. Switched on, it needs a user and a password (or the stored
// "User Password") and otherwise hints at the login; switched off, it clears the error.
TEST(WebManagementTest, TheTimerChecksTheLoginOnceAndNeverTracesThePassword) {
    const std::string hint =
        "Login to the Grp Caption desktop application to enable the 'Web Management' feature.|OK|Close||77;";
    const struct {
        bool checked;
        const char *user, *password, *userPassword;
        std::string asked;
        const char* writes;
    } cases[] = {
        {true, "alice", "s3cret", "", "", "OLWA/ErrVal=|"},
        {true, "alice", " ", "s3cret", "", "OLWA/ErrVal=|"},
        {true, "alice", "", "", hint, ""},
        {true, "", "s3cret", "", hint, ""},
        {false, "alice", "s3cret", "", "", "OLWA/ErrVal=|Web/WebPlugin=0|"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.user) + "/" + c.password + "/" + c.userPassword + (c.checked ? " on" : " off"));
        CommandFixture f;
        f.Obscured("password", c.password);
        f.Obscured("User Password", c.userPassword);
        f.fx.SetCurrentUser(c.user);
        f.profiles.writes.clear();
        f.Context().trayMenu.SetChecked(Item::WebPlugin, c.checked);
        f.box.whileOpen = [&] { f.host.calls.push_back("notice"); };
        TrayCommands commands(f.Env());
        commands.OnCommandTimer(CommandTimer::WebMTimer);
        EXPECT_EQ(f.host.calls, c.asked.empty() ? Calls{"WebMTimer off"} : (Calls{"WebMTimer off", "notice"}));
        EXPECT_EQ(f.Asked(), c.asked);
        EXPECT_EQ(f.profiles.Writes(""), c.writes);
        EXPECT_EQ(Checked(f), c.checked);
        EXPECT_EQ(f.Information().find("s3cret"), std::string::npos);
    }
}

// Each error switches off; for a logged-in user it is cleared, "-1" and "-2" log out, and the
// alert names its cause; without a user there is nothing to tell and the error stays.
TEST(WebManagementTest, AnErrorOfTheComponentSwitchesOffAndTellsWhy) {
    const std::string accountKey = "Software\\Harrowlane\\Grp Backup\\Connection Parameters";
    const struct {
        const char *errVal, *user;
        const char* alert;  // nullptr: none
        const char* status;
        const char* errValAfter;
    } cases[] = {
        {"-1", "alice",
         "Web Manager is disabled as your password has been changed. Login with your new password to continue.", "0",
         ""},
        {"-2", "alice", "Web Manager is disabled as your Grp Online account is canceled.", "0", ""},
        {" -3", "alice", "Web Manager is disabled as an error has occured", "1", ""},
        {"-2", "", nullptr, "1", "-2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.errVal) + " " + c.user);
        CommandFixture f;
        f.fx.registry.WriteDword(RegistryRoot::CurrentUser, accountKey, "Status", 1);
        f.Context().values.WriteProfile("OLWA", "ErrVal", c.errVal);
        f.Context().values.WriteProfile("Web", "WebPlugin", "1");
        f.Context().trayMenu.SetChecked(Item::WebPlugin, true);
        f.fx.SetCurrentUser(c.user);
        const std::optional<WebAlert> alert = WebManagementErrorReport(f.Context(), c.errVal);
        f.fx.SetCurrentUser("alice");
        ASSERT_EQ(alert.has_value(), c.alert != nullptr);
        if (alert) {
            EXPECT_EQ(alert->text, c.alert);
            EXPECT_EQ(alert->closeCaption, "Close");
            EXPECT_EQ(alert->trayTip, ("Grp Caption - " + alert->text).substr(0, 63));
        }
        EXPECT_EQ(f.fx.registry.Read(RegistryRoot::CurrentUser, accountKey, "Status").AsText(), c.status);
        EXPECT_EQ(f.Context().values.ReadProfile("OLWA", "ErrVal"), c.errValAfter);
        // Without a user the switch goes into the start folder's profile.
        EXPECT_EQ(f.Context().values.ReadProfile("Web", "WebPlugin"), *c.user != '\0' ? "0" : "1");
        EXPECT_FALSE(Checked(f));
        EXPECT_EQ(f.fx.clock.sleeps, std::vector<std::uint32_t>{1000});
    }
}

// The language file words the question, the login hint and the alert, with the product's name
// for the brand word; the alert's tray tip is made of the translated words.
TEST(WebManagementTest, TheLanguageFileWordsTheQuestionsAndTheAlert) {
    CommandFixture f;
    CreateFolders(f.fx.app / "Lang");
    test::WriteAll(f.fx.app / "Lang" / "English.txt",
                   "5710= - Administración web\n5712=Su cuenta de Tallux se ha cancelado.\n5714=Cerrar\n"
                   "5715=Administración web\n5716=¿Activar?\n5718=Inicie sesión en Tallux.\n");
    f.box.answers.push_back(false);
    TrayCommands commands(f.Env());
    commands.OnMenuCommand(Item::WebPlugin);
    f.fx.SetCurrentUser("");
    commands.OnMenuCommand(Item::WebPlugin);
    EXPECT_EQ(f.Asked(), "¿Activar?|Proceed|Cancel|Administración web|77;Inicie sesión en Grp Online.|OK|Close||77;");

    f.fx.SetCurrentUser("alice");
    const std::optional<WebAlert> alert = WebManagementErrorReport(f.Context(), "-2");
    ASSERT_TRUE(alert.has_value());
    EXPECT_EQ(alert->caption, "Grp Caption - Administración web");
    EXPECT_EQ(alert->text, "Su cuenta de Grp Online se ha cancelado.");
    EXPECT_EQ(alert->trayTip, "Grp Caption - Su cuenta de Grp Online se ha cancelado.");
    EXPECT_EQ(alert->closeCaption, "Cerrar");
}

}  // namespace
}  // namespace ovp
