#pragma once
// The processes of this Wine session (or Windows session) by their executable's full path, for
// the test and demo equipment that must end exactly what it started.

#include <windows.h>

#include <filesystem>
#include <vector>

namespace ovp::standin {

struct RunningProcess {
    DWORD id = 0;
    std::filesystem::path image;  // empty when the process could not be asked
};

// Every process (Toolhelp snapshot) with its full image path.
std::vector<RunningProcess> RunningProcesses();
// Those whose executable lies inside the folder (or below it).
std::vector<RunningProcess> ProcessesUnder(const std::filesystem::path& folder);
// Ends every process inside the folder (but those of the executable named `except`, compared in
// lower case) and waits for each to be gone.
void EndProcessesUnder(const std::filesystem::path& folder, const std::filesystem::path& except = {});

}  // namespace ovp::standin
