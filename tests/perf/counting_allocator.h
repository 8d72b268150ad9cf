// The global allocator of a test binary, counted: every operator new of the process, whoever
// calls it.
#pragma once

#include <cstdint>

namespace counting_allocator {

std::int64_t allocations();

// Allocations made while fn runs.
template <class Fn>
std::int64_t allocationsDuring(Fn&& fn) {
    const std::int64_t before = allocations();
    fn();
    return allocations() - before;
}

}  // namespace counting_allocator
