#pragma once
// Recording fakes of the service manager, process and shell ports.

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/processes.h"
#include "platform/service_manager.h"
#include "platform/shell.h"
#include "support/fakes.h"

namespace ovp::test {

// Answers a fixed state per service name (0 for unknown names); the full-access answer can be
// made to differ, as it does for a limited user of an older system.
class FakeServiceManager : public IServiceManager {
  public:
    int QueryState(std::string_view serviceName, ServiceAccess access) override {
        queries.emplace_back(std::string(serviceName), access);
        const bool refused = refuseFullAccess && access == ServiceAccess::Full;
        return refused ? kServiceCannotOpen : ValueOr(states, std::string(serviceName), kServiceCannotOpen);
    }

    std::map<std::string, int> states;
    bool refuseFullAccess = false;
    std::vector<std::pair<std::string, ServiceAccess>> queries;
};

// A process table in memory; ending removes the process (unless it is protected) and records it.
class FakeProcesses : public IProcesses {
  public:
    std::vector<ProcessInfo> List() override { return running; }
    std::size_t EndMatching(const std::function<bool(std::string_view imagePath)>& matches) override {
        std::vector<std::uint32_t> ids;
        for (const ProcessInfo& process : running) {
            if (matches(process.imagePath)) {
                ids.push_back(process.id);
            }
        }
        std::ranges::for_each(ids, [this](std::uint32_t id) { End(id); });
        return ids.size();
    }
    // Refuses a process whose image does not match, as the real adapter does.
    EndByIdResult EndById(std::uint32_t id, const std::function<bool(std::string_view imagePath)>& matches) override {
        const auto found = std::ranges::find(running, id, &ProcessInfo::id);
        if (found == running.end()) {
            return EndByIdResult::NotRunning;
        }
        if (!matches(found->imagePath)) {
            return EndByIdResult::Refused;
        }
        return End(id) ? EndByIdResult::Ended : EndByIdResult::Failed;
    }
    // Ends one process, as when it exits by itself.
    bool End(std::uint32_t id) {
        const auto found = std::ranges::find(running, id, &ProcessInfo::id);
        if (std::ranges::find(protectedIds, id) != protectedIds.end() || found == running.end()) {
            return false;
        }
        running.erase(found);
        ended.push_back(id);
        return true;
    }

    std::uint32_t Add(std::string imagePath) {
        running.push_back({nextId_, std::move(imagePath)});
        return nextId_++;
    }

    std::vector<ProcessInfo> running;
    std::vector<std::uint32_t> protectedIds;  // ending fails for these
    std::vector<std::uint32_t> ended;

  private:
    std::uint32_t nextId_ = 100;
};

// Records every request and answers with `answer` (success by default).
class FakeShell : public IShell {
  public:
    ShellResult Execute(const ShellRequest& request) override {
        requests.push_back(request);
        return answer;
    }
    // Recorded as a request with the verb "open with".
    ShellResult OpenWithChooser(const std::filesystem::path& file) override {
        ShellRequest request;
        request.verb = "open with";
        request.file = file;
        requests.push_back(request);
        return answer;
    }

    ShellResult answer{42, 0, ""};
    std::vector<ShellRequest> requests;
};

}  // namespace ovp::test
