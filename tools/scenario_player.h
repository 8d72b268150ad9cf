// Plays a scenario against the simulated game in fibre mode, with a plug-in already loaded:
// commands change the world between frames, `run` commands run frames, and every call the
// plug-in makes goes to the trace and to the chronicle as it happens.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tools/chronicle.h"
#include "tools/game_time.h"
#include "tools/scenario.h"

namespace player {

// Which calls the trace keeps, and how large it may grow.
struct TraceWindow {
    std::optional<gametime::Moment> from;   // calls at or after this moment; none: from the start
    std::optional<gametime::Moment> until;  // calls before this moment; none: to the end
    std::int64_t limitBytes = 0;            // 0: no limit
};

bool inWindow(const TraceWindow& window, gametime::Moment moment);

// --brief: a squad's creation lines and its members' lines, held until something else happens
// and then printed as one line each.
struct BriefFold {
    std::optional<chronicle::Entry> squad;
    std::vector<Ped> peds;
    int notCreated = 0;
    std::optional<chronicle::When> firstLine;
    std::map<std::string, std::int64_t> lines;  // what the members said, how often
};

struct Session {
    chronicle::Chronicle chronicle;
    std::ostream* trace = nullptr;  // JSON Lines; none when nullptr
    std::string traceName;          // for messages
    TraceWindow traceWindow;
    std::int64_t traceBytes = 0;
    std::string traceBuffer;  // a frame's trace lines, written at once; its memory is kept
    std::ostream* timeline = nullptr;
    bool brief = false;  // the timeline folds squads (see BriefFold)
    BriefFold fold;
    std::ostream* events = nullptr;  // the timeline as JSON Lines; none when nullptr
    bool showProgress = false;       // a progress line on stderr during long runs
    std::int64_t tracedCalls = 0;
    int expectsFailed = 0;
    int expectsPassed = 0;
    std::string scenarioName;  // for messages about failed expects
    // Why the run stopped before the scenario's end (the trace's limit or a write error).
    std::optional<std::string> stopped;
};

// Takes the calls logged since the last time: trace lines, chronicle, timeline.
void takeCalls(Session& session);

// At the end of the run: whatever the brief timeline still holds is printed, and the members
// still alive are noted for the map.
void finish(Session& session);

// Plays every command in order. Stops early with the error of a command that cannot be carried
// out (a ped that was never created), when a host error stops the run (see sim::hostFailure()),
// or when the trace cannot go on (session.stopped); failed expect lines are counted and the play
// goes on.
std::optional<scenario::ScenarioError> playScenario(Session& session,
                                                    const scenario::Scenario& scenario);

}  // namespace player
