// How large a scenario's trace will be, estimated before the run from the frames its `run`
// commands cover inside the trace's window, so that a run that would fill the disk is refused
// before it starts rather than failing hours later.
#pragma once

#include <cstdint>

#include "tools/scenario.h"
#include "tools/scenario_player.h"

namespace traceestimate {

// An idle frame, with no encounter running, walks all 87 hideout points: about 16 KB of trace.
// Encounter frames write less, so this bounds the estimate from above.
inline constexpr std::int64_t bytesPerIdleFrame = 16'000;

// Frames the scenario runs with the game clock inside the window, following the clock through
// its clock and run commands as the world turns it.
std::int64_t framesInWindow(const scenario::Scenario& scenario, const player::TraceWindow& window);

std::int64_t estimatedBytes(const scenario::Scenario& scenario, const player::TraceWindow& window);

}  // namespace traceestimate
