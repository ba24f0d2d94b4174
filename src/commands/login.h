#pragma once
// `MnuLogin`: log in through the main application, or log out after a question.

#include "commands/command_env.h"

namespace ovp {

void MnuLogin_Click(CommandEnv& env);

}  // namespace ovp
