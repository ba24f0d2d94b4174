#include "commands/account_check.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "command_test_env.h"

namespace ovp {
namespace {

using test::CommandFixture;

// Answers each start of the client with the next of `answers` (blank-separated; the last one
// repeats): a RetValue, or "silent" (leaves none), "hang" (never ends) or "no-start". On -40 it
// writes `serverMove` to DLLOutput1.txt.
void ScriptClient(CommandFixture& f, const std::string& answers, const std::string& serverMove = "") {
    f.fx.launcher.behaviour = [&f, answers = Split(answers, " "), serverMove](const LaunchRequest&) {
        EXPECT_EQ(f.Shared("Interactive"), "alice");
        const std::string answer = answers[std::min(f.fx.launcher.launches.size(), answers.size()) - 1];
        f.Status("RetValue", answer == "silent" ? f.Status("RetValue") : answer);
        if (answer == "-40" && !serverMove.empty()) {
            test::WriteAll(f.UserFile("DLLOutput1.txt"), serverMove);
        }
        return test::FakeLauncher::Run{answer != "no-start", answer == "hang", {}};
    };
}

TEST(AccountCheckTest, ExchangeWithTheClient) {
    const std::string failed = std::to_string(kAccountCheckFailed), moved = "8443\r\n10.0.0.7\r\n";
    const std::string twice = "backup.example.com|backup.example.com|443|443|";
    // answers (see ScriptClient); DLLOutput1.txt on -40; result; requests; IPAddres, OutPort written; waits of 1 s
    const std::tuple<const char*, std::string, std::string, const char*, std::string, int> cases[] = {
        {"402", "", "1", "23|", "", 0},
        {"-12 402", "", "-12", "23|", "", 0},
        {"-405 -12008 -12009 -12010 402", "", "1", "23|23|23|23|23|", "", 4},
        {"-416", "", "-416", "23|23|23|23|23|23|23|23|23|23|", twice, 10},
        {"-40 402", moved, "1", "23|9|", "10.0.0.7|8443|", 1},
        {"-40 402", "", "1", "23|9|", "", 1},  // an earlier exchange's DLLOutput1.txt is not taken
        {"-40 -416 -405 402", "8443\r\n[fd00::7]\r\n", "-405", "23|9|9|", "[fd00::7]|8443|", 2},
        {"-40 402", "8443\r\nevil.example.com & calc\r\n", "1", "23|9|", "", 1},
        {"-40 402", "0\r\n10.0.0.7\r\n", "1", "23|9|", "", 1},
        {"-40 402", "70000\r\n10.0.0.7\r\n", "1", "23|9|", "", 1},
        {"-40 402", moved + std::string(5000, ' '), "1", "23|9|", "", 1},
        {"-505 0", "", "1", "23|5|", "", 0},
        {"-505 2", "", failed, "23|5|", "", 0},
        {"-505 silent", "", failed, "23|5|", "", 0},
        {"silent", "", failed, "23|", "", 0},  // the RetValue of an earlier exchange does not count
        {"no-start", "", failed, "23|", "", 0},
        {"hang", "", failed, "23|", "", 0},
        {"4294967698", "", failed, "23|", "", 0}};
    for (const auto& [answers, serverMove, result, requests, servers, waits] : cases) {
        SCOPED_TRACE(answers);
        CommandFixture f(test::GroupConfiguration() +
                         "[ConnectionInfo]\r\nDomainName=backup.example.com\r\nPort=443\r\n");
        f.Obscured("random", "777");
        f.Shared("Interactive", "bob");
        f.Status("RetValue", "402");
        test::WriteAll(f.UserFile("DLLOutput1.txt"), "8443\r\n10.0.0.9\r\n");
        f.Context().jobMemory.sharedStatusText = "Next backup at 10:00";
        ScriptClient(f, answers, serverMove);
        CommandEnv env = f.Env();
        EXPECT_EQ(std::to_string(AccountCheck(env)), result);
        std::string made;
        for (const LaunchRequest& launch : f.fx.launcher.launches) {
            EXPECT_TRUE(launch.hidden && launch.executable == f.fx.app / "GrpClsClient.exe" &&
                        launch.arguments.starts_with("< > "));
            made += launch.arguments.substr(std::string_view("< > ").size()) + "|";
        }
        EXPECT_EQ(made, requests);
        EXPECT_EQ(f.profiles.Writes("Orvessa/IPAddres=") + f.profiles.Writes("Orvessa/OutPort="), servers);
        EXPECT_EQ(std::count(f.fx.clock.pumpingWaits.begin(), f.fx.clock.pumpingWaits.end(), 1000u), waits);
        EXPECT_EQ(f.fx.launcher.terminated, std::string_view(answers) == "hang" ? 1 : 0);
        EXPECT_EQ(f.Shared("Interactive"), "bob");
        EXPECT_EQ(f.tray.Tip(), "Next backup at 10:00");
    }
}

// The random number: stored, else the installation's, else five secure draws of 1 to 255. Without
// one there is no check.
TEST(AccountCheckTest, ClientRandomNumber) {
    const std::tuple<const char*, const char*, std::vector<std::uint32_t>, std::string> cases[] = {
        {"777", "5555", {1, 2, 3, 4, 5}, "777"},
        {"", "5555", {1, 2, 3, 4, 5}, "5555"},
        {"", "", {0, 254, 9, 99, 41}, "12551010042"},
        {"", "", {0, 254}, ""}};
    for (const auto& [stored, installation, draws, expected] : cases) {
        SCOPED_TRACE(expected);
        CommandFixture f;
        f.Obscured("random", stored);
        f.fx.profiles.Write(f.Names(), "Registry", "Grp Backup client system random number", installation);
        f.fx.secureRandom.values = draws;
        ScriptClient(f, "402");
        CommandEnv env = f.Env();
        EXPECT_EQ(AccountCheck(env), expected.empty() ? kAccountCheckFailed : 1);
        EXPECT_EQ(f.Obscured("random"), expected);
        EXPECT_EQ(f.fx.launcher.launches.size(), expected.empty() ? 0u : 1u);
    }
}

}  // namespace
}  // namespace ovp
