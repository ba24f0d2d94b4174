#include "platform/std_random.h"

#include <gtest/gtest.h>

namespace ovp {
namespace {

TEST(StdRandomTest, StaysInTheUnitIntervalAndRepeatsForTheSameSeed) {
    StdRandom random(42);
    StdRandom same(7);
    same.Seed(42);
    double lowest = 1.0;
    double highest = 0.0;
    for (int i = 0; i < 100000; ++i) {
        const double value = random.Uniform();
        ASSERT_GE(value, 0.0);
        ASSERT_LT(value, 1.0);
        ASSERT_EQ(value, same.Uniform());
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
    }
    // Spread over the whole interval, not stuck in a corner of it.
    EXPECT_LT(lowest, 0.001);
    EXPECT_GT(highest, 0.999);
}

}  // namespace
}  // namespace ovp
