#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <set>
#include <vector>

#include "native_calls.h"
#include "sim/control.h"
#include "sim/random.h"

namespace {

using simtest::randomIntInRange;

std::vector<std::int32_t> draws(std::uint64_t seed, int count) {
    sim::WorldOptions options;
    options.seed = seed;
    sim::resetWorld(options);
    std::vector<std::int32_t> values;
    for (int i = 0; i < count; ++i) values.push_back(randomIntInRange(0, 1000000));
    return values;
}

// The first output of splitmix64 from state 0 in its reference implementation: pins the
// generator, so traces from different platforms and builds draw the same numbers.
TEST(Random, GeneratorIsSplitMix64) {
    sim::Random random{0};
    EXPECT_EQ(sim::nextRandom(random), 0xE220A8397B1DCDAFull);
}

TEST(Random, RangeIsHalfOpenAndAnEmptyRangeGivesLo) {
    struct Case {
        std::int32_t lo;
        std::int32_t hi;
        std::set<std::int32_t> expected;  // every value that may come up, all of which must
    };
    const Case cases[] = {
        {1, 2, {1}}, {1, 5, {1, 2, 3, 4}}, {-3, 0, {-3, -2, -1}},
        {5, 5, {5}}, {7, 3, {7}},          {0, -1, {0}},
    };
    sim::resetWorld();
    for (const Case& c : cases) {
        std::set<std::int32_t> seen;
        for (int i = 0; i < 200; ++i) seen.insert(randomIntInRange(c.lo, c.hi));
        EXPECT_EQ(seen, c.expected) << "range (" << c.lo << ", " << c.hi << ")";
    }
}

// The span of the widest range does not fit in 32 bits.
TEST(Random, WidestRangeStaysInsideItsBounds) {
    sim::resetWorld();
    bool negative = false;
    bool positive = false;
    for (int i = 0; i < 1000; ++i) {
        const std::int32_t value = randomIntInRange(INT_MIN, INT_MAX);
        EXPECT_LT(value, INT_MAX);
        negative |= value < 0;
        positive |= value > 0;
    }
    EXPECT_TRUE(negative && positive);
}

TEST(Random, EveryValueOfASmallRangeComesUpAboutEquallyOften) {
    sim::resetWorld();
    int counts[4] = {};
    for (int i = 0; i < 4000; ++i) ++counts[randomIntInRange(0, 4)];
    for (int count : counts) {
        EXPECT_GT(count, 850);
        EXPECT_LT(count, 1150);
    }
}

TEST(Random, SameSeedSameDrawsOtherSeedOtherDraws) {
    EXPECT_EQ(draws(42, 20), draws(42, 20));
    EXPECT_NE(draws(42, 20), draws(43, 20));
}

}  // namespace
