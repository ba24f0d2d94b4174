#include "platform/std_random.h"

namespace ovp {

double StdRandom::Uniform() {
    // The top 53 bits scaled by 2^-53: exact in a double and never 1.0, which
    // uniform_real_distribution does not promise on every standard library.
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

}  // namespace ovp
