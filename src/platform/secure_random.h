#pragma once
// Port: the system's cryptographically secure random generator, for numbers another program must
// not be able to predict.

#include <cstdint>
#include <optional>

namespace ovp {

class ISecureRandom {
  public:
    virtual ~ISecureRandom() = default;
    // A whole number uniformly in [0, bound); nullopt when the generator fails or bound is 0.
    virtual std::optional<std::uint32_t> Below(std::uint32_t bound) = 0;
};

}  // namespace ovp
