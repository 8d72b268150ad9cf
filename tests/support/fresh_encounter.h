// A fresh simulated world and fresh plug-in state: where every encounter test and benchmark
// starts. No test framework here, so that the benchmarks can use it too.
#pragma once

#include "encounter/encounter_state.h"
#include "sim/control.h"

namespace encounter_testing {

// 02:00 keeps the 6-hour build's load-time stamp (0:00) short of its cooldown, so a tick does not
// re-arm unless the test means it to.
inline sim::WorldOptions quietWorld() {
    sim::WorldOptions options;
    options.startHours = 2;
    return options;
}

inline void resetEncounter(const sim::WorldOptions& options = quietWorld()) {
    sim::resetWorld(options);
    encounterState = EncounterState{};
}

}  // namespace encounter_testing
