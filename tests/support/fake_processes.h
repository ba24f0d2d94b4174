#pragma once
// Recording fakes of the service manager, process and shell ports.

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/processes.h"
#include "platform/service_manager.h"
#include "platform/shell.h"

namespace ovp::test {

// Answers a fixed state per service name (0 for unknown names); the full-access answer can be
// made to differ, as it does for a limited user of an older system.
class FakeServiceManager : public IServiceManager {
  public:
    int QueryState(std::string_view serviceName, ServiceAccess access) override;

    std::map<std::string, int> states;
    bool refuseFullAccess = false;
    std::vector<std::pair<std::string, ServiceAccess>> queries;
};

// A process table in memory; ending removes the process (unless it is protected) and records it.
class FakeProcesses : public IProcesses {
  public:
    std::vector<ProcessInfo> List() override;
    std::size_t EndMatching(const std::function<bool(std::string_view imagePath)>& matches) override;
    // Refuses a process whose image does not match, as the real adapter does.
    EndByIdResult EndById(std::uint32_t id, const std::function<bool(std::string_view imagePath)>& matches) override;
    // Ends one process, as when it exits by itself.
    bool End(std::uint32_t id);

    std::uint32_t Add(std::string imagePath);

    std::vector<ProcessInfo> running;
    std::vector<std::uint32_t> protectedIds;  // ending fails for these
    std::vector<std::uint32_t> ended;

  private:
    std::uint32_t nextId_ = 100;
};

// Records every request and answers with `answer` (success by default).
class FakeShell : public IShell {
  public:
    ShellResult Execute(const ShellRequest& request) override;
    // Recorded as a request with the verb "open with".
    ShellResult OpenWithChooser(const std::filesystem::path& file) override;

    ShellResult answer{42, 0, ""};
    std::vector<ShellRequest> requests;
};

}  // namespace ovp::test
