#include "commands/account_check.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "command_test_env.h"

namespace ovp {
namespace {

using test::CommandFixture;

std::string Configuration() {
    return test::GroupConfiguration() + "[ConnectionInfo]\r\nDomainName=backup.example.com\r\nPort=443\r\n";
}

// A client that answers each launch with the next scripted answer: a RetValue, or "silent" (ends
// without writing one), "hang" (never ends) or "no-start".
class ScriptedClient {
  public:
    // serverMove: what the client writes to DLLOutput1.txt when it answers -40.
    ScriptedClient(CommandFixture& f, std::vector<std::string> answers, std::string serverMove = "")
        : f_(f), answers_(std::move(answers)), serverMove_(std::move(serverMove)) {
        f.fx.launcher.behaviour = [this](const LaunchRequest& request) {
            requests.push_back(request.arguments.substr(4));
            const std::string answer = next_ < answers_.size() ? answers_[next_] : "silent";
            ++next_;
            test::FakeLauncher::Run run;
            run.starts = answer != "no-start";
            run.hangs = answer == "hang";
            run.onExit = [this, answer] {
                interactiveSeen = f_.Shared("Interactive");
                if (answer != "silent") {
                    f_.Status("RetValue", answer);
                }
                if (answer == "-40" && !serverMove_.empty()) {
                    test::WriteAll(f_.UserFile("DLLOutput1.txt"), serverMove_);
                }
            };
            return run;
        };
    }
    std::vector<std::string> requests;  // "23", "9", "5"
    std::string interactiveSeen;

  private:
    CommandFixture& f_;
    std::vector<std::string> answers_;
    std::string serverMove_;
    std::size_t next_ = 0;
};

// Words separated by blanks, "w*n" standing for n times w.
std::vector<std::string> Seq(std::string_view text) {
    std::vector<std::string> words;
    for (const std::string& word : Split(text, " ")) {
        if (word.empty()) {
            continue;
        }
        const auto star = word.find('*');
        const int times = star == std::string::npos ? 1 : std::stoi(word.substr(star + 1));
        words.insert(words.end(), static_cast<std::size_t>(times), word.substr(0, star));
    }
    return words;
}

const std::string kLongMove = "8443\r\n10.0.0.7\r\n" + std::string(5000, ' ');

TEST(AccountCheckTest, ExchangeWithTheClient) {
    struct Case {
        const char* name;
        const char* answers;     // see ScriptedClient
        const char* serverMove;  // what the client writes on -40; nullptr for nothing
        std::int64_t result;
        const char* requests;
        const char* serversWritten;  // IPAddres, in order
        int waits;                   // of 1000 ms: after an answer retried, and after -40
    } cases[] = {
        {"account in order", "402", nullptr, 1, "23", "", 0},
        {"other answer ends the check", "-12 402", nullptr, -12, "23", "", 0},
        {"four retries then in order", "-416*4 402", nullptr, 1, "23*5", "", 4},
        {"five retries then in order", "-405 -12008 -12009 -12010 -416 402", nullptr, 1, "23*6", "backup.example.com",
         5},
        {"ten retries end the check", "-416*10 402", nullptr, -416, "23*10", "backup.example.com*2", 10},
        {"server moved", "-40 402", "8443\r\n10.0.0.7\r\n", 1, "23 9", "10.0.0.7", 1},
        {"second pass retries only -416", "-40 -416 -405 402", "8443\r\n[fd00::7]\r\n", -405, "23 9 9", "[fd00::7]", 2},
        {"server move with a command in it", "-40 402", "8443\r\nevil.example.com & calc\r\n", 1, "23 9", "", 1},
        {"server move to port 0", "-40 402", "0\r\n10.0.0.7\r\n", 1, "23 9", "", 1},
        {"server move to port 70000", "-40 402", "70000\r\n10.0.0.7\r\n", 1, "23 9", "", 1},
        {"server move file too long", "-40 402", kLongMove.c_str(), 1, "23 9", "", 1},
        {"follow-up in order", "-505 0", nullptr, 1, "23 5", "", 0},
        {"follow-up failed", "-505 2", nullptr, kAccountCheckFailed, "23 5", "", 0},
        {"follow-up silent", "-505 silent", nullptr, kAccountCheckFailed, "23 5", "", 0},
        {"client silent: the old answer does not count", "silent", nullptr, kAccountCheckFailed, "23", "", 0},
        {"client not started", "no-start 402", nullptr, kAccountCheckFailed, "23", "", 0},
        {"answer beyond 32 bits", "4294967698", nullptr, kAccountCheckFailed, "23", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommandFixture f(Configuration());
        f.Obscured("random", "777");
        f.Status("RetValue", "402");  // left from an earlier exchange
        // An earlier exchange's answer files go before the first launch.
        test::WriteAll(f.UserFile("DLLOutput1.txt"), "8443\r\n10.0.0.9\r\n");
        ScriptedClient client(f, Seq(c.answers), c.serverMove ? c.serverMove : "");
        f.profiles.writes.clear();
        CommandEnv env = f.Env();

        EXPECT_EQ(AccountCheck(env), c.result);

        EXPECT_EQ(client.requests, Seq(c.requests));
        const std::vector<std::string> servers = Seq(c.serversWritten);
        EXPECT_EQ(f.profiles.WritesOf("Orvessa/IPAddres"), servers);
        if (!servers.empty()) {
            EXPECT_EQ(f.Obscured("serverip"), servers.back());
            EXPECT_EQ(f.Obscured("port"), c.serverMove ? "8443" : "443");
            EXPECT_EQ(f.Plain("OutPort"), f.Obscured("port"));
        }
        EXPECT_EQ(std::count(f.fx.clock.pumpingWaits.begin(), f.fx.clock.pumpingWaits.end(), 1000u), c.waits);
    }
}

// The random number: stored, else the installation's, else five secure draws of 1 to 255; stored
// before the client first starts. Without one there is no check.
TEST(AccountCheckTest, ClientRandomNumberIsStoredBeforeTheFirstLaunch) {
    struct Case {
        const char* name;
        const char* stored;
        const char* installation;
        std::vector<std::uint32_t> draws;
        std::string expected;  // "" : the check fails without a launch
    } cases[] = {
        {"stored", "777", "5555", {1, 2, 3, 4, 5}, "777"},
        {"installation's", "", "5555", {1, 2, 3, 4, 5}, "5555"},
        {"drawn", "", "", {0, 254, 9, 99, 41}, "12551010042"},
        {"generator failed", "", "", {0, 254}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommandFixture f;
        f.Obscured("random", c.stored);
        f.fx.profiles.Write(f.UserNameFile(), "Registry", "Grp Backup client system random number", c.installation);
        f.fx.secureRandom.values = c.draws;
        std::string seenByClient;
        ScriptedClient client(f, {"402"});
        f.fx.launcher.behaviour = [&, first = f.fx.launcher.behaviour](const LaunchRequest& request) {
            seenByClient = f.Obscured("random");
            return first(request);
        };
        CommandEnv env = f.Env();

        EXPECT_EQ(AccountCheck(env), c.expected.empty() ? kAccountCheckFailed : 1);
        EXPECT_EQ(seenByClient, c.expected);
        EXPECT_EQ(f.fx.launcher.launches.size(), c.expected.empty() ? 0u : 1u);
    }
}

// The client runs hidden from the application folder with the request as its only arguments; one
// that hangs is ended through its handle after the time limit. Either way the check puts back
// `Interactive` and the tooltip.
TEST(AccountCheckTest, HungClientIsEndedAndTheCheckRestoresWhatItChanged) {
    for (const bool hangs : {false, true}) {
        SCOPED_TRACE(hangs ? "hangs" : "answers");
        CommandFixture f;
        f.Obscured("random", "777");
        f.Obscured("password", "s3cret");
        f.Shared("Interactive", "bob");
        f.Context().jobMemory.sharedStatusText = "Next backup at 10:00";
        ScriptedClient client(f, {hangs ? "hang" : "402"});
        CommandEnv env = f.Env();

        EXPECT_EQ(AccountCheck(env), hangs ? kAccountCheckFailed : 1);

        ASSERT_EQ(f.fx.launcher.launches.size(), 1u);
        const LaunchRequest& launch = f.fx.launcher.launches[0];
        EXPECT_EQ(launch.executable, f.fx.app / "GrpClsClient.exe");
        EXPECT_EQ(launch.arguments, "< > 23");
        EXPECT_EQ(launch.workingFolder, f.fx.app);
        EXPECT_TRUE(launch.hidden);
        EXPECT_EQ(f.fx.launcher.terminated, hangs ? 1 : 0);
        if (hangs) {
            EXPECT_GE(f.fx.clock.TickMs(), 180'000u);
            EXPECT_LT(f.fx.clock.TickMs(), 181'000u);
        } else {
            EXPECT_EQ(client.interactiveSeen, "alice");
        }
        EXPECT_EQ(f.Shared("Interactive"), "bob");
        EXPECT_EQ(f.tray.Tip(), "Next backup at 10:00");
        for (const std::string& line : f.Traces()) {
            EXPECT_EQ(line.find("s3cret"), std::string::npos) << line;
        }
    }
}

}  // namespace
}  // namespace ovp
