#include "commands/account_check.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/resume_next.h"
#include "base/text.h"
#include "contract/engine_contract.h"
#include "settings/shared_values.h"

namespace ovp {

namespace c = contract;

namespace {

constexpr int kLaunchesPerPass = 10;
constexpr int kFailuresPerServerReset = 5;
// A client that has not answered by then is taken for hung.
constexpr std::uint64_t kClientTimeLimitMs = 180'000;
constexpr std::uint32_t kClientWaitMs = 300;
constexpr std::uint32_t kClientWaitPauseMs = 3;
constexpr std::uint32_t kRetryWaitMs = 1000;

// What the client may leave in DLLOutput1.txt: two short lines, nothing more.
constexpr std::uintmax_t kServerMoveFileMaxBytes = 4096;
constexpr std::size_t kServerAddressMaxChars = 255;

constexpr int kRandomParts = 5;
constexpr std::uint32_t kRandomPartBound = 255;

struct ServerAddress {
    std::string address;
    std::string port;
};

void WriteServer(AppContext& context, const ServerAddress& server) {
    context.transfer.Trf_WriteUserProfileWithoutEncryptIdle(c::kIPAddres, server.address);
    context.transfer.Trf_WriteUserProfileWithoutEncryptIdle(c::kOutPort, server.port);
    context.transfer.Trf_WriteUserProfile(c::kServerIp, server.address);
    context.transfer.Trf_WriteUserProfile(c::kPort, server.port);
}

ServerAddress ConfiguredServer(AppContext& context) {
    ServerAddress server;
    server.address = context.settings.domainName.empty() ? context.settings.ipAddress1 : context.settings.domainName;
    server.port = FileExists(context.folders.AppFolder() / PathFromUtf8(c::kLocalServiceMarkerFile))
                      ? std::string(c::kLocalServicePort)
                      : context.settings.port;
    return server;
}

bool IsPort(std::string_view text) {
    if (text.empty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; })) {
        return false;
    }
    const long long port = std::stoll(std::string(text));
    return port >= 1 && port <= 65535;
}

bool IsServerAddress(std::string_view text) {
    return !text.empty() && text.size() <= kServerAddressMaxChars && std::all_of(text.begin(), text.end(), [](char ch) {
        return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '.' ||
               ch == '-' || ch == ':' || ch == '[' || ch == ']';
    });
}

// The server the service moved the account to, as the client wrote it: line 1 the port, line 2
// the address. Another program writes that file, so anything but a port and an address is
// refused rather than stored where the engine takes its server from.
std::optional<ServerAddress> ReadServerMove(AppContext& context) {
    const std::filesystem::path file = context.values.UserFolder() / PathFromUtf8(c::kClientOutputFile);
    if (!FileExists(file)) {
        return std::nullopt;
    }
    const std::optional<std::string> bytes = ReadFileBytes(file, kServerMoveFileMaxBytes);
    const std::vector<std::string> lines = Split(bytes.value_or(""), "\n");
    ServerAddress server;
    server.port = TrimWhitespace(lines[0]);
    server.address = lines.size() < 2 ? std::string() : TrimWhitespace(lines[1]);
    if (!bytes || !IsPort(server.port) || !IsServerAddress(server.address)) {
        context.trace.Error("The client's new server is no port and address; the server stays");
        return std::nullopt;
    }
    return server;
}

std::string DrawClientRandomNumber(ISecureRandom& random) {
    std::string number;
    for (int part = 0; part < kRandomParts; ++part) {
        const std::optional<std::uint32_t> value = random.Below(kRandomPartBound);
        if (!value) {
            return "";
        }
        number += std::to_string(*value + 1);
    }
    return number;
}

// The client's random number: stored, else the one the installation left, else a new one.
std::string ClientRandomNumber(AppContext& context) {
    std::string number = context.transfer.Trf_ReadUserProfile(c::kRandom);
    if (!number.empty()) {
        return number;
    }
    number =
        context.values.ReadUserNameRegistry(context.settings.installationName + std::string(c::kClientRandomSuffix));
    if (number.empty()) {
        number = DrawClientRandomNumber(context.ports.secureRandom);
    }
    if (!number.empty()) {
        context.transfer.Trf_WriteUserProfile(c::kRandom, number);
    }
    return number;
}

// `RetValue` as a whole number; nullopt when it is empty, no number or beyond 32 bits.
std::optional<std::int64_t> ReadAnswer(AppContext& context) {
    const double value = ParseStoredNumber(context.values.ReadProfile(c::kBackupStatusSection, c::kRetValue), NAN);
    if (!std::isfinite(value) || value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(std::trunc(value));
}

// One start of the client with the request and the wait for its end. nullopt when it could not be
// started, did not end in time or left no answer: an old `RetValue` must never pass for its answer.
std::optional<std::int64_t> RunClient(CommandEnv& env, std::string_view request) {
    AppContext& context = env.context;
    context.values.WriteProfile(c::kBackupStatusSection, c::kRetValue, "");
    LaunchRequest launch;
    launch.executable = context.folders.AppFolder() / PathFromUtf8(context.names.client);
    launch.arguments = std::string(c::kClientRequestPrefix) + " " + std::string(request);
    launch.workingFolder = context.folders.AppFolder();
    launch.hidden = true;
    const std::unique_ptr<IChildProcess> client = context.ports.launcher.Launch(launch);
    if (!client) {
        context.trace.Error("The backup client could not be started for the account check");
        return std::nullopt;
    }
    IClock& clock = context.ports.clock;
    const std::uint64_t started = clock.TickMs();
    while (!client->WaitPumping(kClientWaitMs)) {
        if (clock.TickMs() - started >= kClientTimeLimitMs) {
            client->Terminate();
            context.trace.Error("The backup client did not answer the account check in time; it was ended");
            return std::nullopt;
        }
        clock.Sleep(kClientWaitPauseMs);
    }
    const std::optional<std::int64_t> answer = ReadAnswer(context);
    if (!answer) {
        context.trace.Error("The backup client left no answer to the account check");
    }
    return answer;
}

// Up to ten starts with the request while the answer is one to retry; every fifth such answer
// puts the configured server back first. nullopt when a start gave no answer.
template <typename Retry>
std::optional<std::int64_t> RunPass(CommandEnv& env, std::string_view request, Retry retry) {
    std::optional<std::int64_t> answer;
    int failures = 0;
    for (int launch = 0; launch < kLaunchesPerPass; ++launch) {
        answer = RunClient(env, request);
        if (!answer || !retry(*answer)) {
            return answer;
        }
        if (++failures % kFailuresPerServerReset == 0) {
            WriteServer(env.context, ConfiguredServer(env.context));
        }
        env.context.ports.clock.WaitPumping(kRetryWaitMs);
    }
    return answer;
}

bool AnyRetryAnswer(std::int64_t answer) {
    return std::find(c::kClientAnswersToRetry.begin(), c::kClientAnswersToRetry.end(), answer) !=
           c::kClientAnswersToRetry.end();
}

bool RetryAfterMove(std::int64_t answer) {
    return answer == c::kClientAnswerRetryAfterMove;
}

std::int64_t Exchange(CommandEnv& env, const std::string& randomNumber) {
    AppContext& context = env.context;
    const std::filesystem::path userFolder = context.values.UserFolder();
    for (const std::string_view file : {c::kClientAnswerFile, c::kClientInputFile, c::kClientOutputFile}) {
        DeleteFileIfExists(userFolder / PathFromUtf8(file));
    }

    std::optional<std::int64_t> answer = RunPass(env, c::kClientAccountCheck, AnyRetryAnswer);
    if (answer == c::kClientAnswerServerMoved) {
        context.ports.clock.WaitPumping(kRetryWaitMs);
        if (const std::optional<ServerAddress> moved = ReadServerMove(context)) {
            WriteServer(context, *moved);
        }
        answer = RunPass(env, c::kClientAccountCheckMoved, RetryAfterMove);
    }
    if (!answer) {
        return kAccountCheckFailed;
    }
    if (*answer == c::kClientAnswerAccountOk) {
        return 1;
    }
    if (*answer == c::kClientAnswerFollowUpNeeded) {
        const std::optional<std::int64_t> followUp = RunPass(env, c::kClientFollowUp, AnyRetryAnswer);
        if (!followUp || *followUp < 0 || *followUp == c::kClientAnswerFollowUpFailed) {
            return kAccountCheckFailed;
        }
        context.transfer.Trf_WriteUserProfile(c::kRandom, randomNumber);
        return 1;
    }
    return *answer;
}

}  // namespace

std::int64_t AccountCheck(CommandEnv& env) {
    AppContext& context = env.context;
    const std::string tip = context.jobMemory.sharedStatusText;
    std::optional<std::string> interactive;
    std::int64_t result = kAccountCheckFailed;
    try {
        interactive = context.values.ReadUserNameOrvessa(c::kInteractive);
        context.values.WriteUserNameOrvessa(c::kInteractive, context.values.CurrentUserName());
        const std::string randomNumber = ClientRandomNumber(context);
        if (randomNumber.empty()) {
            context.trace.Error("No client random number could be made for the account check");
        } else {
            result = Exchange(env, randomNumber);
        }
    } catch (const std::exception& error) {
        ResumeNext([&] { context.trace.Error(std::string("Account check: ") + error.what()); });
        result = kAccountCheckFailed;
    } catch (...) {
        result = kAccountCheckFailed;
    }
    if (interactive) {
        ResumeNext([&] { context.values.WriteUserNameOrvessa(c::kInteractive, *interactive); });
    }
    ResumeNext([&] {
        context.jobMemory.sharedStatusText = tip;
        env.tray.SetTip(tip);
    });
    return result;
}

}  // namespace ovp
