#pragma once
// The long run of scripts/soak: the engine simulator cycles through every state while the tray
// menu is popped and the windows are opened and closed, and the monitor's memory, handles, CPU
// time and the promptness of its UI thread are measured every minute.

#include <filesystem>

namespace ovp::standin {

// Runs in the monitor's Wine desktop next to the running monitor of appFolder, for that many
// minutes, writing one line per minute to the report file (and to standard output). 0 when the
// monitor's memory grew by at most 1 MB after the first minute, its handles did not grow and its
// UI thread never stayed busy for more than a second; 1 otherwise.
int Soak(const std::filesystem::path& appFolder, int minutes, const std::filesystem::path& reportFile);

}  // namespace ovp::standin
