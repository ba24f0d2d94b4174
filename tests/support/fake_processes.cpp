#include "support/fake_processes.h"

#include <algorithm>

namespace ovp::test {

int FakeServiceManager::QueryState(std::string_view serviceName, ServiceAccess access) {
    queries.emplace_back(std::string(serviceName), access);
    if (refuseFullAccess && access == ServiceAccess::Full) {
        return kServiceCannotOpen;
    }
    const auto found = states.find(std::string(serviceName));
    return found == states.end() ? kServiceCannotOpen : found->second;
}

std::vector<ProcessInfo> FakeProcesses::List() {
    return running;
}

std::size_t FakeProcesses::EndMatching(const std::function<bool(std::string_view imagePath)>& matches) {
    std::vector<std::uint32_t> ids;
    for (const ProcessInfo& process : running) {
        if (matches(process.imagePath)) {
            ids.push_back(process.id);
        }
    }
    for (const std::uint32_t id : ids) {
        End(id);
    }
    return ids.size();
}

EndByIdResult FakeProcesses::EndById(std::uint32_t id, const std::function<bool(std::string_view imagePath)>& matches) {
    const auto found = std::find_if(running.begin(), running.end(), [id](const ProcessInfo& p) { return p.id == id; });
    if (found == running.end()) {
        return EndByIdResult::NotRunning;
    }
    if (!matches(found->imagePath)) {
        return EndByIdResult::Refused;
    }
    return End(id) ? EndByIdResult::Ended : EndByIdResult::Failed;
}

bool FakeProcesses::End(std::uint32_t id) {
    if (std::find(protectedIds.begin(), protectedIds.end(), id) != protectedIds.end()) {
        return false;
    }
    const auto found = std::find_if(running.begin(), running.end(), [id](const ProcessInfo& p) { return p.id == id; });
    if (found == running.end()) {
        return false;
    }
    running.erase(found);
    ended.push_back(id);
    return true;
}

std::uint32_t FakeProcesses::Add(std::string imagePath) {
    running.push_back({nextId_, std::move(imagePath)});
    return nextId_++;
}

ShellResult FakeShell::Execute(const ShellRequest& request) {
    requests.push_back(request);
    return answer;
}

ShellResult FakeShell::OpenWithChooser(const std::filesystem::path& file) {
    ShellRequest request;
    request.verb = "open with";
    request.file = file;
    requests.push_back(request);
    return answer;
}

}  // namespace ovp::test
