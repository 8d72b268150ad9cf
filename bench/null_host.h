// A script host with no game behind it: every native answers from a fixed table of answers, and
// scriptWait returns at once. Pushes are ignored. What the plug-in costs against it is the plug-in
// and the native-call protocol alone; the benchmarks compare the simulated game against it, and the
// allocation tests count the plug-in's own allocations with it.
#pragma once

#include <cstdint>

#include "host/host.h"

namespace nullhost {

struct Answers {
    bool gate = false;
    bool playerDead = false;
    Vector3 coords{0.0f, 0.0f, 0.0f};  // of every entity
    float distance = 1000.0f;          // of every pair of points: far from everything
    std::int32_t clockHours = 2;       // short of any build's cooldown since 0:00
    std::int32_t clockMinutes = 0;
    bool entityDead = false;
};

// Native calls since the last reset.
std::int64_t nativeCalls();
void reset(const Answers& answers = {});
// A fresh plug-in (its encounter state) against fresh answers, every distance query answering
// distance: where each benchmark and allocation test against the null host starts.
void resetWithFreshPlugin(float distance);

}  // namespace nullhost
