// The options of gang-hideouts-sim.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "deliverable_builds.h"

namespace cli {

// Exit statuses.
inline constexpr int exitDone = 0;
inline constexpr int exitExpectFailed = 1;
inline constexpr int exitBadInput = 2;  // bad usage, a bad scenario, a plug-in that cannot load
inline constexpr int exitHostError = 3; // the plug-in broke the host's rules and the run stopped

struct Options {
    std::string build;       // "06h" ... "72h"; empty when pluginPath is given
    std::string pluginPath;  // empty: the build's file
    std::string scenarioPath;  // empty: the bundled demo
    std::uint64_t seed = 1;
    std::string tracePath;  // empty: no trace
    std::string svgPath;    // empty: no map
    bool help = false;
};

using BuildInfo = DeliverableBuild;

// The eight builds, shortest cooldown first.
std::span<const BuildInfo> builds();
std::optional<std::int32_t> cooldownOfBuild(std::string_view build);
// The build a plug-in file is, going by its name (GangHideouts24h.so: "24h"); empty if none.
std::string buildOfPluginFile(std::string_view path);

// The options, or a message saying what is wrong with them. args excludes the program name.
std::variant<Options, std::string> parseCommandLine(std::span<const std::string_view> args);

std::string usageText();

}  // namespace cli
