#pragma once
// Port: the random numbers behind the drawn start times.

#include <cstdint>

namespace ovp {

class IRandom {
  public:
    virtual ~IRandom() = default;
    // Uniformly distributed in [0, 1).
    virtual double Uniform() = 0;
    // Restarts the sequence from seed, so that draws differ from one run of the program to the next.
    virtual void Seed(std::uint64_t seed) = 0;
};

}  // namespace ovp
