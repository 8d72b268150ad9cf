#include "encounter/visit_registry.h"

#include <bit>
#include <cmath>

namespace {

constexpr std::uint64_t fnvOffsetBasis = 0xcbf29ce484222325ull;
constexpr std::uint64_t fnvPrime = 0x100000001b3ull;
constexpr std::size_t minimumBuckets = 8;
constexpr std::size_t fastGrowthLimit = 512;  // below this the table jumps eightfold
constexpr std::size_t fastGrowthFactor = 8;

std::uint64_t coordinateHash(float coordinate) {
    // -0.0 equals +0.0 as a key, so both must hash alike.
    const std::uint32_t bits = coordinate == 0.0f ? 0u : std::bit_cast<std::uint32_t>(coordinate);
    std::uint64_t state = fnvOffsetBasis;
    for (int byte = 0; byte < 4; ++byte) {
        state ^= (bits >> (8 * byte)) & 0xffu;
        state *= fnvPrime;
    }
    return state;
}

bool samePoint(Vector3 a, Vector3 b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

std::size_t bucketOf(const VisitRegistry& registry, Vector3 point) {
    return pointHash(point) & (registry.buckets.size() - 1);
}

void rehash(VisitRegistry& registry, std::size_t bucketCount) {
    registry.buckets.assign(bucketCount, {});
    for (std::size_t index = 0; index < registry.entries.size(); ++index) {
        registry.buckets[bucketOf(registry, registry.entries[index].point)].push_back(index);
    }
}

void growFor(VisitRegistry& registry, std::size_t entryCount) {
    const std::size_t current = registry.buckets.size();
    const auto needed = static_cast<std::size_t>(
        std::ceil(static_cast<float>(entryCount) / registry.maxLoadFactor));
    std::size_t target = std::max(minimumBuckets, needed);
    if (current < fastGrowthLimit) target = std::max(target, current * fastGrowthFactor);
    rehash(registry, std::bit_ceil(target));
}

}  // namespace

std::uint64_t pointHash(Vector3 point) {
    return coordinateHash(point.x) ^ coordinateHash(point.y) ^ coordinateHash(point.z);
}

bool& visitedFlag(VisitRegistry& registry, Vector3 point) {
    for (std::size_t index : registry.buckets[bucketOf(registry, point)]) {
        if (samePoint(registry.entries[index].point, point)) return registry.entries[index].visited;
    }
    const std::size_t newCount = registry.entries.size() + 1;
    if (static_cast<float>(newCount) / static_cast<float>(registry.buckets.size()) >
        registry.maxLoadFactor) {
        growFor(registry, newCount);
    }
    registry.entries.push_back({point, false});
    registry.buckets[bucketOf(registry, point)].push_back(registry.entries.size() - 1);
    return registry.entries.back().visited;
}

void clearVisited(VisitRegistry& registry) {
    for (VisitEntry& entry : registry.entries) entry.visited = false;
}
