#include "simulator_command.h"

#include <cstddef>

namespace ovp::standin {

namespace {

// Digits only (no sign, no blanks), at most maxDigits of them; the value without leading zeros.
std::optional<unsigned long long> PlainNumber(std::string_view text, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) {
        return std::nullopt;
    }
    unsigned long long value = 0;
    for (const char ch : text) {
        if (ch < '0' || ch > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned long long>(ch - '0');
    }
    return value;
}

std::optional<bool> Outcome(std::string_view word) {
    if (word == "success") {
        return true;
    }
    if (word == "failure") {
        return false;
    }
    return std::nullopt;
}

std::string OutcomeWord(bool success) {
    return success ? "success" : "failure";
}

}  // namespace

std::optional<SimCommand> ParseSimCommand(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return std::nullopt;
    }
    const std::string_view verb = arguments[0];
    const std::size_t count = arguments.size();
    SimCommand command;
    if (verb == "start" && count <= 2) {
        command.action = SimAction::Start;
        if (count == 2) {
            // The run marker names the running job kind; "0" would say that nothing runs.
            const auto job = PlainNumber(arguments[1], 9);
            if (!job || *job == 0) {
                return std::nullopt;
            }
            command.job = std::to_string(*job);
        }
        return command;
    }
    if ((verb == "finish" && (count == 2 || count == 3)) || (verb == "play" && (count == 2 || count == 3))) {
        const auto success = Outcome(arguments[1]);
        if (!success) {
            return std::nullopt;
        }
        command.success = *success;
        if (verb == "finish") {
            command.action = SimAction::Finish;
            if (count == 3) {
                if (arguments[2] != "--no-window") {
                    return std::nullopt;
                }
                command.statusWindow = false;
            }
            return command;
        }
        command.action = SimAction::Play;
        if (count == 3) {
            const auto seconds = PlainNumber(arguments[2], 9);
            if (!seconds || *seconds > kMaxPlaySeconds) {
                return std::nullopt;
            }
            command.seconds = static_cast<unsigned>(*seconds);
        }
        return command;
    }
    if (verb == "cdp" && count == 2) {
        const auto state = PlainNumber(arguments[1], 2);
        if (!state || *state > static_cast<unsigned long long>(kMaxCdpState)) {
            return std::nullopt;
        }
        command.action = SimAction::Cdp;
        command.cdpState = static_cast<int>(*state);
        return command;
    }
    if (verb == "quota" && count == 3) {
        // Byte counts up to 10^18 - 1: far beyond any plan, and exact in the engine's numbers.
        const auto used = PlainNumber(arguments[1], 18);
        const auto max = PlainNumber(arguments[2], 18);
        if (!used || !max) {
            return std::nullopt;
        }
        command.action = SimAction::Quota;
        command.used = std::to_string(*used);
        command.max = std::to_string(*max);
        return command;
    }
    if (verb == "quota-marker" && count == 2 && (arguments[1] == "on" || arguments[1] == "off")) {
        command.action = SimAction::QuotaMarker;
        command.markerOn = arguments[1] == "on";
        return command;
    }
    if (verb == "connection-status" && count == 2) {
        const auto status = PlainNumber(arguments[1], 10);
        if (!status || *status > 0xFFFFFFFFull) {
            return std::nullopt;
        }
        command.action = SimAction::ConnectionStatus;
        command.connection = static_cast<std::uint32_t>(*status);
        return command;
    }
    if (verb == "missed" && count == 2) {
        const auto days = PlainNumber(arguments[1], 4);
        if (!days || *days > kMaxMissedDays) {
            return std::nullopt;
        }
        command.action = SimAction::Missed;
        command.missedDays = static_cast<unsigned>(*days);
        return command;
    }
    if (verb == "logs" && count == 2) {
        const auto logs = PlainNumber(arguments[1], 9);
        if (!logs || *logs > kMaxSimulatedLogs) {
            return std::nullopt;
        }
        command.action = SimAction::Logs;
        command.logCount = static_cast<unsigned>(*logs);
        return command;
    }
    if (verb == "reset" && count == 1) {
        command.action = SimAction::Reset;
        return command;
    }
    return std::nullopt;
}

std::string_view SimUsageText() {
    return "usage: OVPEngineSim.exe start [job]\n"
           "       OVPEngineSim.exe finish success|failure [--no-window]\n"
           "       OVPEngineSim.exe play success|failure [seconds]\n"
           "       OVPEngineSim.exe cdp <0..10>\n"
           "       OVPEngineSim.exe quota <used> <max>\n"
           "       OVPEngineSim.exe quota-marker on|off\n"
           "       OVPEngineSim.exe connection-status <n>\n"
           "       OVPEngineSim.exe missed <days>\n"
           "       OVPEngineSim.exe logs <count>\n"
           "       OVPEngineSim.exe reset\n";
}

std::string DescribeSimCommand(const SimCommand& command) {
    switch (command.action) {
        case SimAction::Start:
            return "start " + command.job;
        case SimAction::Finish:
            return "finish " + OutcomeWord(command.success) + (command.statusWindow ? "" : " (no window)");
        case SimAction::Play:
            return "play " + OutcomeWord(command.success) + " " + std::to_string(command.seconds);
        case SimAction::Cdp:
            return "cdp " + std::to_string(command.cdpState);
        case SimAction::Quota:
            return "quota " + command.used + " " + command.max;
        case SimAction::QuotaMarker:
            return std::string("quota-marker ") + (command.markerOn ? "on" : "off");
        case SimAction::ConnectionStatus:
            return "connection-status " + std::to_string(command.connection);
        case SimAction::Missed:
            return "missed " + std::to_string(command.missedDays);
        case SimAction::Logs:
            return "logs " + std::to_string(command.logCount);
        case SimAction::Reset:
            return "reset";
    }
    return {};
}

}  // namespace ovp::standin
