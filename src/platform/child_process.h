#pragma once
// Port: a program the monitor starts itself and waits for, such as the engine's client for an
// account check. Started directly, never through a command interpreter, so the arguments reach
// the program exactly as given ("<" and ">" included).

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace ovp {

struct LaunchRequest {
    std::filesystem::path executable;  // full path
    std::string arguments;             // the command line after the program's name
    std::filesystem::path workingFolder;
    bool hidden = true;
};

// A started program, held by the handle the start gave: waiting for it and ending it always
// concern that very process, whatever becomes of its id.
class IChildProcess {
  public:
    virtual ~IChildProcess() = default;
    // Waits up to ms milliseconds while window events keep running; true once the program has
    // ended.
    virtual bool WaitPumping(std::uint32_t ms) = 0;
    // Ends it with exit code 0; false when it could not be ended (or had already ended).
    virtual bool Terminate() = 0;
    virtual std::uint32_t Id() const = 0;
};

class IProcessLauncher {
  public:
    virtual ~IProcessLauncher() = default;
    // nullptr when the program could not be started.
    virtual std::unique_ptr<IChildProcess> Launch(const LaunchRequest& request) = 0;
};

}  // namespace ovp
