// Long seeded sessions against one plug-in build, with the invariants checked throughout.
//
// A player travels between hideouts and far away, fights, kills some of a squad or all of it,
// dies, sleeps through hours, loads earlier saves, meets missions that hold the frame gate, and
// the game hands the plug-in its faults: a full ped pool, a new player character, a model that
// goes missing and comes back, peds moved or removed. Each step is a scenario command, chosen
// from the seed and from what the world holds at that moment, and played like any scenario; so
// the same seed replays the same session, and the commands played make a scenario file that the
// simulator plays the same way (with the same seed).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "sim/invariants.h"

namespace soak {

struct Options {
    std::string pluginPath;
    int cooldownMinutes = 0;  // of the build; 0 when unknown
    std::uint64_t seed = 1;
    int days = 2;  // game days to play
    // Called now and then with the game days played so far.
    std::function<void(double days, std::int64_t frames, std::int64_t squads)> progress;
};

struct Result {
    double days = 0;  // game days played: frame time on the clock plus the hours slept
    std::int64_t frames = 0;
    sim::RunCounts counts;
    std::int64_t faults = 0;  // fault commands played
    std::int64_t commands = 0;
    std::string scenario;  // every command played, one a line: a scenario that replays the session
    // Set when the run stopped: a broken invariant, a host error, or a plug-in that cannot load.
    std::optional<std::string> failure;
    std::int64_t failedAtFrame = 0;
};

// Loads the plug-in into a fresh simulated game (fibre mode, invariants on), plays a session of
// `days` game days chosen by the seed, and unloads it.
Result run(const Options& options);

}  // namespace soak
