// OVPEngineSim.exe: plays the backup engine's part for tests and the demo (simulator_command.h has
// the command line). It finds the product, the current user and the user folder from its own
// folder, like the other stand-ins, and records each action in the stand-ins' event log.
// Exit code 0 on success, 1 when a write failed, 2 on a wrong command line.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine_simulator.h"
#include "simulator_command.h"
#include "standin_product.h"
#include "win32/text_win.h"

namespace {

using ovp::standin::SimAction;
using ovp::standin::SimCommand;

constexpr std::string_view kWho = "simulator";
constexpr int kUsageError = 2;
constexpr int kWriteFailed = 1;

// One action (not play), recorded in the event log with its outcome.
bool RunAndRecord(ovp::standin::EngineSimulator& simulator,
                  const SimCommand& command,
                  const std::filesystem::path& appFolder) {
    bool done = false;
    switch (command.action) {
        case SimAction::Start:
            done = simulator.Start(command.job);
            break;
        case SimAction::Finish:
            done = simulator.Finish(command.success, command.statusWindow);
            break;
        case SimAction::Cdp:
            done = simulator.SetContinuousBackup(command.cdpState);
            break;
        case SimAction::Quota:
            done = simulator.SetQuota(command.used, command.max);
            break;
        case SimAction::QuotaMarker:
            done = simulator.SetQuotaMarker(command.markerOn);
            break;
        case SimAction::ConnectionStatus:
            done = simulator.SetConnectionStatus(command.connection);
            break;
        case SimAction::Missed:
            done = simulator.SetMissedDays(command.missedDays);
            break;
        case SimAction::Logs:
            done = simulator.WriteSessionLogs(command.logCount);
            break;
        case SimAction::Reset:
            done = simulator.Reset();
            break;
        case SimAction::Play:
            break;
    }
    ovp::standin::RecordEvent(appFolder, kWho, DescribeSimCommand(command) + (done ? "" : " failed"));
    return done;
}

// A whole scheduled backup: the event log shows when it began and when it ended.
bool Play(ovp::standin::EngineSimulator& simulator, const SimCommand& play, const std::filesystem::path& appFolder) {
    SimCommand start;
    start.action = SimAction::Start;
    if (!RunAndRecord(simulator, start, appFolder)) {
        return false;
    }
    ::Sleep(play.seconds * 1000);
    SimCommand finish;
    finish.action = SimAction::Finish;
    finish.success = play.success;
    return RunAndRecord(simulator, finish, appFolder);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(ovp::win::Narrow(argv[i]));
    }
    const std::optional<SimCommand> command = ovp::standin::ParseSimCommand(arguments);
    if (!command) {
        const std::string_view usage = ovp::standin::SimUsageText();
        std::fprintf(stderr, "%.*s", static_cast<int>(usage.size()), usage.data());
        return kUsageError;
    }
    const std::filesystem::path appFolder = ovp::standin::OwnFolder();
    const std::optional<ovp::standin::Product> product = ovp::standin::LoadProduct(appFolder);
    if (!product) {
        std::fprintf(stderr, "OVPEngineSim: no usable Configuration.ini beside the program\n");
        return kWriteFailed;
    }
    ovp::standin::EngineSimulator simulator(appFolder, product->settings);
    const bool done = command->action == SimAction::Play ? Play(simulator, *command, appFolder)
                                                         : RunAndRecord(simulator, *command, appFolder);
    for (const std::string& error : simulator.Errors()) {
        std::fprintf(stderr, "OVPEngineSim: %s\n", error.c_str());
    }
    return done ? 0 : kWriteFailed;
}
