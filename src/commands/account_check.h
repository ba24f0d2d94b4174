#pragma once
// The account check the engine's client makes with the service before continuous backup is
// switched on: a request exchange through a process start, files in the user folder and values in
// the user's profile file.

#include <cstdint>

#include "commands/command_env.h"

namespace ovp {

// The check failed: the client could not be started, did not answer, hung or answered an error.
inline constexpr std::int64_t kAccountCheckFailed = -1;

// The check's result: 1 when the account is in order; any negative value is a failure.
std::int64_t AccountCheck(CommandEnv& env);

inline bool AccountCheckSucceeded(std::int64_t result) {
    return result >= 0;
}

}  // namespace ovp
