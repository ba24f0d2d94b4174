#pragma once
// A command that waits or asks, from its start to its end. Window events keep running while it
// waits, so another command may arrive meanwhile: that one is ignored (and traced), and an Exit
// that arrives is carried out only once the running command has ended, so that nothing it writes
// is left half done.

#include <optional>
#include <string_view>

#include "commands/command_env.h"

namespace ovp {

class CommandRun {
  public:
    // name: how the trace calls the command when it has to be ignored.
    CommandRun(CommandEnv& env, std::string_view name);
    // Ends the command; when Exit was asked for meanwhile, the program ends now.
    ~CommandRun();
    CommandRun(const CommandRun&) = delete;
    CommandRun& operator=(const CommandRun&) = delete;

    // False when another command runs: the caller then does nothing.
    bool Acquired() const { return scope_ && scope_->Acquired(); }

  private:
    CommandEnv& env_;
    std::optional<CommandScope> scope_;
};

// Exit, or, while a command runs, Exit as soon as it has ended.
void ExitWhenNoCommandRuns(CommandEnv& env);

}  // namespace ovp
