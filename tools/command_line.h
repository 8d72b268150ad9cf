// The options of gang-hideouts-sim.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "deliverable_builds.h"
#include "tools/game_time.h"

namespace cli {

// Exit statuses.
inline constexpr int exitDone = 0;
inline constexpr int exitExpectFailed = 1;
inline constexpr int exitBadInput = 2;  // bad usage, a bad scenario, a plug-in that cannot load
inline constexpr int exitHostError =
    3;  // the plug-in broke the host's rules or an invariant; the run stopped

// The trace a run may write unless --trace-limit says otherwise: an idle frame traces about
// 16 KB, so this is a little over half an hour of frame time.
inline constexpr std::int64_t defaultTraceLimitBytes = 2'000'000'000;

struct Options {
    std::string build;         // "06h" ... "72h"; empty when pluginPath is given
    std::string pluginPath;    // empty: the build's file
    std::string scenarioPath;  // empty: the bundled demo
    std::uint64_t seed = 1;
    std::string tracePath;                       // empty: no trace
    std::optional<gametime::Moment> traceFrom;   // none: from the start
    std::optional<gametime::Moment> traceUntil;  // none: to the end
    std::int64_t traceLimitBytes = defaultTraceLimitBytes;
    std::string svgPath;     // empty: no map
    std::string eventsPath;  // empty: no events file
    bool brief = false;      // fold each squad's creation and its members' lines into one line each
    std::string list;        // "hideouts", "natives" or "builds": list them instead of running
    std::string listGang;    // --list hideouts GANG: only that gang's
    bool checkInvariants = false;  // --invariants
    bool help = false;
};

using BuildInfo = DeliverableBuild;

// The eight builds, shortest cooldown first.
std::span<const BuildInfo> builds();
std::optional<std::int32_t> cooldownOfBuild(std::string_view build);
// "2.0 GB", "350.0 MB", "12.0 KB", "900 bytes"
std::string describeBytes(std::int64_t bytes);

// "2 GB", "350 MB", "12 KB" for the round figures a limit is given in; bytes otherwise.
std::optional<std::int64_t> parseBytes(std::string_view text);

// The options, or a message saying what is wrong with them. args excludes the program name.
std::variant<Options, std::string> parseCommandLine(std::span<const std::string_view> args);

std::string usageText();

}  // namespace cli
