#include "service/process_check.h"

#include "base/text.h"

namespace ovp {

std::string_view ExecutableFileName(std::string_view path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

bool IsSameExecutable(std::string_view path, std::string_view exeName) {
    const std::string_view fileName = ExecutableFileName(path);
    return !exeName.empty() && !fileName.empty() && EqualsNoCase(fileName, exeName);
}

std::optional<std::uint32_t> FindProcess(IProcesses& processes, std::string_view exeName) {
    if (exeName.empty()) {
        return std::nullopt;
    }
    for (const ProcessInfo& process : processes.List()) {
        if (IsSameExecutable(process.imagePath, exeName)) {
            return process.id;
        }
    }
    return std::nullopt;
}

bool IsProcessRunning(IProcesses& processes, std::string_view exeName) {
    return FindProcess(processes, exeName).has_value();
}

bool EndProcessesNamed(IProcesses& processes, std::string_view exeName) {
    if (exeName.empty()) {
        return false;
    }
    return processes.EndMatching([exeName](std::string_view path) { return IsSameExecutable(path, exeName); }) > 0;
}

}  // namespace ovp
