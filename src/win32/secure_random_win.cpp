#include "win32/secure_random_win.h"

#include <windows.h>

#include <bcrypt.h>

#include <limits>

namespace ovp::win {

std::optional<std::uint32_t> Win32SecureRandom::Below(std::uint32_t bound) {
    if (bound == 0) {
        return std::nullopt;
    }
    // Values from the incomplete last block of `bound` would make the low numbers more likely.
    const std::uint32_t limit =
        std::numeric_limits<std::uint32_t>::max() - std::numeric_limits<std::uint32_t>::max() % bound;
    for (int attempt = 0; attempt < 64; ++attempt) {
        std::uint32_t value = 0;
        if (!BCRYPT_SUCCESS(::BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(&value), sizeof(value),
                                              BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
            return std::nullopt;
        }
        if (value < limit) {
            return value % bound;
        }
    }
    return std::nullopt;
}

}  // namespace ovp::win
