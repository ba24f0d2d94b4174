#pragma once
// The portable random source: a Mersenne Twister, good enough for spreading start times.

#include <cstdint>
#include <random>

#include "platform/random.h"

namespace ovp {

class StdRandom : public IRandom {
  public:
    explicit StdRandom(std::uint64_t seed) : engine_(seed) {}
    double Uniform() override;
    void Seed(std::uint64_t seed) override { engine_.seed(seed); }

  private:
    std::mt19937_64 engine_;
};

}  // namespace ovp
