#include "sim/random.h"

#include <limits>

namespace sim {

std::uint64_t nextRandom(Random& random) {
    random.state += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = random.state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::int32_t randomInRange(Random& random, std::int32_t lo, std::int32_t hi) {
    if (hi <= lo) return lo;
    const std::uint64_t span = static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo);
    // Draws at or above the last whole multiple of span are thrown back, so that no value of
    // the range comes up more often than another.
    const std::uint64_t max = std::numeric_limits<std::uint64_t>::max();
    const std::uint64_t limit = max - max % span;
    std::uint64_t draw = nextRandom(random);
    while (draw >= limit) draw = nextRandom(random);
    return static_cast<std::int32_t>(lo + static_cast<std::int64_t>(draw % span));
}

}  // namespace sim
