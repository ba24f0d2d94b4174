#pragma once
// Fakes of the process launcher, the companion libraries and the secure random generator.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/child_process.h"
#include "platform/clock.h"
#include "platform/companions.h"
#include "platform/secure_random.h"

namespace ovp::test {

// Every launch is recorded; `behaviour` decides what the started program does. By default it
// starts and ends at the first wait.
class FakeLauncher : public IProcessLauncher {
  public:
    struct Run {
        bool starts = true;
        bool hangs = false;  // never ends by itself
        // Runs once, when the program ends (it writes its answers here).
        std::function<void()> onExit;
    };

    // clock: advanced by every wait, so that time runs on while a program is waited for.
    explicit FakeLauncher(IClock* clock = nullptr) : clock_(clock) {}
    std::unique_ptr<IChildProcess> Launch(const LaunchRequest& request) override {
        launches.push_back(request);
        Run run = behaviour ? behaviour(request) : Run{};
        return run.starts ? std::make_unique<Child>(std::move(run), nextId_++, clock_, terminated) : nullptr;
    }

    std::function<Run(const LaunchRequest&)> behaviour;
    std::vector<LaunchRequest> launches;
    int terminated = 0;

  private:
    class Child : public IChildProcess {
      public:
        Child(Run run, std::uint32_t id, IClock* clock, int& terminated)
            : run_(std::move(run)), id_(id), clock_(clock), terminated_(terminated) {}

        bool WaitPumping(std::uint32_t ms) override {
            if (clock_ != nullptr) {
                clock_->WaitPumping(ms);
            }
            if (ended_ || run_.hangs) {
                return ended_;
            }
            ended_ = true;
            if (run_.onExit) {
                run_.onExit();
            }
            return true;
        }
        bool Terminate() override {
            if (ended_) {
                return false;
            }
            ended_ = true;
            ++terminated_;
            return true;
        }
        std::uint32_t Id() const override { return id_; }

      private:
        Run run_;
        std::uint32_t id_;
        IClock* clock_;
        int& terminated_;
        bool ended_ = false;
    };

    IClock* clock_;
    std::uint32_t nextId_ = 700;
};

// Records each call as "PostCDPStatusMsg 1" or "SendMsgToApp 1034", in order.
class FakeCompanions : public ICompanionLibraries {
  public:
    bool PostCDPStatusMsg(const std::filesystem::path& /*library*/, std::int32_t state) override {
        calls.push_back("PostCDPStatusMsg " + std::to_string(state));
        return true;
    }
    bool SendMsgToApp(const std::filesystem::path& /*library*/, std::int32_t message) override {
        calls.push_back("SendMsgToApp " + std::to_string(message));
        return true;
    }
    std::vector<std::string> calls;
};

// Answers the scripted values in order (each taken modulo the bound), then fails.
class FakeSecureRandom : public ISecureRandom {
  public:
    std::optional<std::uint32_t> Below(std::uint32_t bound) override {
        if (bound == 0 || next_ >= values.size()) {
            return std::nullopt;
        }
        return values[next_++] % bound;
    }
    std::vector<std::uint32_t> values;

  private:
    std::size_t next_ = 0;
};

}  // namespace ovp::test
