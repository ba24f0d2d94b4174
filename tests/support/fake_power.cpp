#include "fake_power.h"

namespace ovp::test {

class FakePower::Timer : public IWakeTimer {
  public:
    explicit Timer(FakePower& power) : power_(power) { ++power_.openTimers; }
    ~Timer() override { --power_.openTimers; }
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    bool Arm(std::int64_t seconds) override {
        if (power_.refuseArm) {
            return false;
        }
        power_.armedSeconds.push_back(seconds);
        return true;
    }

    WakeWaitResult WaitForTimerOrInput() override {
        const int number = power_.waitCount++;
        WakeWaitResult result = WakeWaitResult::Timer;
        if (!power_.waitResults.empty()) {
            result = power_.waitResults.front();
            power_.waitResults.pop_front();
        }
        if (power_.onWait) {
            if (const auto replaced = power_.onWait(number)) {
                result = *replaced;
            }
        }
        return result;
    }

  private:
    FakePower& power_;
};

std::uint32_t FakePower::RequestExecutionState(ExecutionRequest request) {
    requests.push_back(request);
    return previousState;
}

std::unique_ptr<IWakeTimer> FakePower::OpenWakeTimer(std::string_view name) {
    if (refuseOpen) {
        return nullptr;
    }
    openedNames.emplace_back(name);
    return std::make_unique<Timer>(*this);
}

}  // namespace ovp::test
