// Entry points of the plug-in built against the null host (bench/null_host.h).
#pragma once

#include <cstdint>

#define NULL_HOST_EXPORT __attribute__((visibility("default")))

extern "C" {
// Fresh plug-in state; every distance query answers distance.
NULL_HOST_EXPORT void nullHostReset(float distance);
NULL_HOST_EXPORT void nullHostTick();
NULL_HOST_EXPORT std::int64_t nullHostNativeCalls();
}
