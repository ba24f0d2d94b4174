#pragma once
// The secure random port on the system's preferred generator (BCryptGenRandom).

#include "platform/secure_random.h"

namespace ovp::win {

class Win32SecureRandom final : public ISecureRandom {
  public:
    std::optional<std::uint32_t> Below(std::uint32_t bound) override;
};

}  // namespace ovp::win
