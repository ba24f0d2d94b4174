#include "support/fake_launcher.h"

namespace ovp::test {

namespace {

class FakeChild : public IChildProcess {
  public:
    FakeChild(FakeLauncher::Run run, std::uint32_t id, IClock* clock, int& terminated)
        : run_(std::move(run)), id_(id), clock_(clock), terminated_(terminated) {}

    bool WaitPumping(std::uint32_t ms) override {
        if (clock_ != nullptr) {
            clock_->WaitPumping(ms);
        }
        if (ended_) {
            return true;
        }
        if (run_.hangs) {
            return false;
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
    FakeLauncher::Run run_;
    std::uint32_t id_;
    IClock* clock_;
    int& terminated_;
    bool ended_ = false;
};

}  // namespace

std::unique_ptr<IChildProcess> FakeLauncher::Launch(const LaunchRequest& request) {
    launches.push_back(request);
    Run run = behaviour ? behaviour(request) : Run{};
    if (!run.starts) {
        return nullptr;
    }
    return std::make_unique<FakeChild>(std::move(run), nextId_++, clock_, terminated);
}

}  // namespace ovp::test
