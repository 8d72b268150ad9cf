// Plays a scenario against the simulated game in fibre mode, with a plug-in already loaded:
// commands change the world between frames, `run` commands run frames, and every call the
// plug-in makes goes to the trace and to the chronicle as it happens.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>

#include "tools/chronicle.h"
#include "tools/scenario.h"

namespace player {

struct Session {
    chronicle::Chronicle chronicle;
    std::ostream* trace = nullptr;  // JSON Lines; none when nullptr
    std::ostream* timeline = nullptr;
    bool showProgress = false;  // a progress line on stderr during long runs
    std::int64_t tracedCalls = 0;
    int expectsFailed = 0;
    int expectsPassed = 0;
    std::string scenarioName;  // for messages about failed expects
};

// Takes the calls logged since the last time: trace lines, chronicle, timeline.
void takeCalls(Session& session);

// Plays every command in order. Stops early with the error of a command that cannot be carried
// out (a ped that was never created), or when a host error stops the run (see
// sim::hostFailure()); failed expect lines are counted and the play goes on.
std::optional<scenario::ScenarioError> playScenario(Session& session,
                                                    const scenario::Scenario& scenario);

}  // namespace player
