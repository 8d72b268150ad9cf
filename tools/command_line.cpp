#include "tools/command_line.h"

#include <array>
#include <charconv>
#include <filesystem>

namespace cli {

namespace {

constexpr const auto& buildTable = deliverableBuilds;

std::string buildNames() {
    std::string names;
    for (const BuildInfo& build : buildTable) names += (names.empty() ? "" : "|") + std::string(build.name);
    return names;
}

}  // namespace

std::span<const BuildInfo> builds() { return buildTable; }

std::optional<std::int32_t> cooldownOfBuild(std::string_view build) {
    for (const BuildInfo& info : buildTable) {
        if (info.name == build) return info.cooldownMinutes;
    }
    return std::nullopt;
}

std::string buildOfPluginFile(std::string_view path) {
    const std::string stem = std::filesystem::path(path).stem().string();
    constexpr std::string_view prefix = "GangHideouts";
    if (!stem.starts_with(prefix)) return {};
    const std::string build = stem.substr(prefix.size());
    return cooldownOfBuild(build) ? build : std::string{};
}

std::variant<Options, std::string> parseCommandLine(std::span<const std::string_view> args) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view option = args[i];
        std::optional<std::string_view> inlineValue;
        if (std::size_t equals = option.find('='); option.starts_with("--") && equals != std::string_view::npos) {
            inlineValue = option.substr(equals + 1);
            option = option.substr(0, equals);
        }
        if (option == "--help" || option == "-h") {
            options.help = true;
            continue;
        }
        std::string* target = nullptr;
        if (option == "--build") target = &options.build;
        if (option == "--plugin") target = &options.pluginPath;
        if (option == "--scenario") target = &options.scenarioPath;
        if (option == "--trace") target = &options.tracePath;
        if (option == "--svg") target = &options.svgPath;
        std::string seedText;
        if (option == "--seed") target = &seedText;
        if (target == nullptr) return "unknown option " + std::string(args[i]);
        if (!inlineValue && i + 1 == args.size()) return std::string(option) + " needs a value";
        const std::string_view value = inlineValue ? *inlineValue : args[++i];
        if (value.empty()) return std::string(option) + " needs a value";
        *target = value;
        if (option == "--seed") {
            auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), options.seed);
            if (error != std::errc{} || end != value.data() + value.size()) {
                return "--seed " + std::string(value) + ": not a whole number from 0 to 18446744073709551615";
            }
        }
    }
    if (options.help) return options;
    if (!options.build.empty() && !options.pluginPath.empty()) {
        return "--build and --plugin both name the plug-in: give one of them";
    }
    if (!options.build.empty() && !cooldownOfBuild(options.build)) {
        return "--build " + options.build + ": unknown build, one of " + buildNames();
    }
    if (options.build.empty() && options.pluginPath.empty()) options.build = buildTable[0].name;
    if (!options.tracePath.empty() && options.tracePath == options.svgPath) {
        return "--trace and --svg name the same file " + options.tracePath;
    }
    return options;
}

std::string usageText() {
    return "usage: gang-hideouts-sim [--build " + buildNames() +
           " | --plugin PATH] [--scenario FILE] [--seed N] [--trace FILE] [--svg FILE]\n"
           "\n"
           "Loads a Gang Hideouts plug-in build into the simulated game the way the game loads it,\n"
           "plays a scenario and prints what happened as a timeline.\n"
           "\n"
           "  --build NNh      the build to load (default 06h), found beside this program\n"
           "  --plugin PATH    load this plug-in file instead\n"
           "  --scenario FILE  the scenario to play (default: the bundled demo)\n"
           "  --seed N         seed of the game's random draws (default 1)\n"
           "  --trace FILE     write every host and native call as JSON Lines\n"
           "  --svg FILE       draw the map: hideouts, the player's path, squads, deaths\n"
           "  --help           this text\n"
           "\n"
           "Exit status: 0 done, 1 an expect line failed, 2 bad usage, a bad scenario or a plug-in\n"
           "that cannot be loaded, 3 the plug-in broke a rule of the script host and the run stopped.\n";
}

}  // namespace cli
