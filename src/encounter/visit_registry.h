// Remembers which hideout points have produced a squad since the last re-arm.
//
// A chained hash table from a point to a one-byte visited flag, with power-of-two bucket counts
// and the growth rule of the standard unordered containers: start at 8 buckets with maximum load
// factor 1.0; an insertion that would exceed it grows to 8 times the buckets below 512 (or to the
// needed count if larger), from 512 on to the needed count. So the 9th entry grows 8 -> 64 and
// the 65th grows 64 -> 512; the 86 distinct hideout points never grow it further.
//
// Keys compare exactly as 32-bit floats (+0.0 equals -0.0); entries are never erased one by one,
// and a flag's address stays valid for the registry's life, growth included.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "host/host.h"

struct VisitEntry {
    Vector3 point;
    bool visited;
};

struct VisitRegistry {
    std::deque<VisitEntry> entries;                  // insertion order; stable addresses
    std::vector<std::vector<std::size_t>> buckets =  // indices into entries
        std::vector<std::vector<std::size_t>>(8);
    float maxLoadFactor = 1.0f;
};

// 64-bit FNV-1a over each coordinate's four bytes (least significant first, -0.0 taken as +0.0),
// the three coordinate hashes combined with XOR.
std::uint64_t pointHash(Vector3 point);

// The point's flag; a point seen for the first time gets an entry with the flag false first.
bool& visitedFlag(VisitRegistry& registry, Vector3 point);

// Every flag becomes false; entries and buckets stay as they are.
void clearVisited(VisitRegistry& registry);
