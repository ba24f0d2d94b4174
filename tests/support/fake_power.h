#pragma once
// Recording fakes of the power port and its wake timers.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/power.h"

namespace ovp::test {

class FakePower : public IPower {
  public:
    std::uint32_t RequestExecutionState(ExecutionRequest request) override {
        requests.push_back(request);
        return previousState;
    }
    std::unique_ptr<IWakeTimer> OpenWakeTimer(std::string_view name) override {
        if (refuseOpen) {
            return nullptr;
        }
        openedNames.emplace_back(name);
        return std::make_unique<Timer>(*this);
    }

    // ---- Scripting ----
    std::uint32_t previousState = 0x80000000u;
    bool refuseOpen = false;
    bool refuseArm = false;
    // Answers of the waits in turn; Timer once they are used up.
    std::deque<WakeWaitResult> waitResults;
    // Runs before each wait answers, with the 0-based number of the wait: the place where a test
    // delivers what arrives while the thread waits. Its answer, when set, replaces the scripted one.
    std::function<std::optional<WakeWaitResult>(int)> onWait;

    // ---- Record ----
    std::vector<ExecutionRequest> requests;
    std::vector<std::string> openedNames;
    std::vector<std::int64_t> armedSeconds;
    int waitCount = 0;
    int openTimers = 0;  // opened and not yet closed

  private:
    class Timer : public IWakeTimer {
      public:
        explicit Timer(FakePower& power) : power_(power) { ++power_.openTimers; }
        ~Timer() override { --power_.openTimers; }
        Timer(const Timer&) = delete;
        Timer& operator=(const Timer&) = delete;

        bool Arm(std::int64_t seconds) override {
            if (!power_.refuseArm) {
                power_.armedSeconds.push_back(seconds);
            }
            return !power_.refuseArm;
        }
        WakeWaitResult WaitForTimerOrInput() override {
            const int number = power_.waitCount++;
            WakeWaitResult result = WakeWaitResult::Timer;
            if (!power_.waitResults.empty()) {
                result = power_.waitResults.front();
                power_.waitResults.pop_front();
            }
            const std::optional<WakeWaitResult> replaced = power_.onWait ? power_.onWait(number) : std::nullopt;
            return replaced.value_or(result);
        }

      private:
        FakePower& power_;
    };
};

}  // namespace ovp::test
