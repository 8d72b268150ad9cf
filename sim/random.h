// The game's random source: splitmix64, written out so that a seed gives the same draws with
// every compiler and standard library (the std distributions differ between implementations).
#pragma once

#include <cstdint>

namespace sim {

struct Random {
    std::uint64_t state;
};

std::uint64_t nextRandom(Random& random);

// Uniform in [lo, hi); lo when hi <= lo, and then nothing is drawn.
std::int32_t randomInRange(Random& random, std::int32_t lo, std::int32_t hi);

}  // namespace sim
