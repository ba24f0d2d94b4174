#pragma once
// Finding and ending the engine's processes by executable file name. Only the file name counts,
// never the folder: the engine's executables may be started from wherever it was installed.

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/processes.h"

namespace ovp {

// The text after the last "\" or "/" of a path (the whole text when it has neither).
std::string_view ExecutableFileName(std::string_view path);

// True when the path's file name equals exeName, both compared in lower case. A path without a
// file name, or an empty exeName, matches nothing.
bool IsSameExecutable(std::string_view path, std::string_view exeName);

// The id of the first running process of that executable.
std::optional<std::uint32_t> FindProcess(IProcesses& processes, std::string_view exeName);
bool IsProcessRunning(IProcesses& processes, std::string_view exeName);

// Ends every running process of that executable with exit code 0, never the monitor itself. True
// when at least one was found (whether or not it could be ended).
bool EndProcessesNamed(IProcesses& processes, std::string_view exeName);

}  // namespace ovp
