#include "commands/command_run.h"

#include <string>

namespace ovp {

CommandRun::CommandRun(CommandEnv& env, std::string_view name) : env_(env) {
    scope_.emplace(env.context);
    if (!scope_->Acquired()) {
        try {
            env.context.trace.Info(std::string(name) + " ignored: another command is running");
        } catch (...) {
        }
    }
}

CommandRun::~CommandRun() {
    const bool acquired = Acquired();
    scope_.reset();
    if (acquired && env_.context.exitRequested) {
        env_.context.exitRequested = false;
        try {
            env_.host.Exit();
        } catch (...) {
        }
    }
}

void ExitWhenNoCommandRuns(CommandEnv& env) {
    if (env.context.commandRunning) {
        env.context.exitRequested = true;
        return;
    }
    env.host.Exit();
}

}  // namespace ovp
