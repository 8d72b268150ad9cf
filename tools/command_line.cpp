#include "tools/command_line.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <set>

#include "tools/scenario.h"

namespace cli {

namespace {

constexpr const auto& buildTable = deliverableBuilds;

constexpr std::array<std::string_view, 3> listables = {"hideouts", "natives", "builds"};

struct ByteUnit {
    std::string_view suffix;
    std::int64_t bytes;
};
// Decimal units, largest first, so that describeBytes picks the largest that fits.
constexpr std::array<ByteUnit, 3> byteUnits = {
    {{"GB", 1'000'000'000}, {"MB", 1'000'000}, {"KB", 1'000}}};

std::string buildNames() {
    std::string names;
    for (const BuildInfo& build : buildTable)
        names += (names.empty() ? "" : "|") + std::string(build.name);
    return names;
}

// Each option that takes a value, and where it goes.
enum class Takes { text, seed, moment, bytes, list };
struct ValueOption {
    std::string_view name;
    Takes takes;
};
constexpr std::array<ValueOption, 11> valueOptions = {{
    {"--build", Takes::text},
    {"--plugin", Takes::text},
    {"--scenario", Takes::text},
    {"--seed", Takes::seed},
    {"--trace", Takes::text},
    {"--trace-from", Takes::moment},
    {"--trace-until", Takes::moment},
    {"--trace-limit", Takes::bytes},
    {"--svg", Takes::text},
    {"--events", Takes::text},
    {"--list", Takes::list},
}};

std::string* textTarget(Options& options, std::string_view name) {
    if (name == "--build") return &options.build;
    if (name == "--plugin") return &options.pluginPath;
    if (name == "--scenario") return &options.scenarioPath;
    if (name == "--trace") return &options.tracePath;
    if (name == "--svg") return &options.svgPath;
    if (name == "--events") return &options.eventsPath;
    return nullptr;
}

// Stores one option's value; a message when the value is bad.
std::optional<std::string> takeValue(Options& options, const ValueOption& option,
                                     std::string_view value) {
    const std::string named = std::string(option.name) + " " + std::string(value);
    switch (option.takes) {
        case Takes::text:
            *textTarget(options, option.name) = value;
            return std::nullopt;
        case Takes::seed: {
            auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), options.seed);
            if (error != std::errc{} || end != value.data() + value.size()) {
                return named + ": not a whole number from 0 to 18446744073709551615";
            }
            return std::nullopt;
        }
        case Takes::moment: {
            const std::optional<gametime::Moment> moment = gametime::parseMoment(value);
            if (!moment)
                return named + ": write a game-clock moment, HH:MM (day 0) or \"day D HH:MM\"";
            (option.name == "--trace-from" ? options.traceFrom : options.traceUntil) = moment;
            return std::nullopt;
        }
        case Takes::bytes: {
            const std::optional<std::int64_t> bytes = parseBytes(value);
            if (!bytes || *bytes <= 0)
                return named + ": write a size such as 500MB, 4GB or 100000 (bytes)";
            options.traceLimitBytes = *bytes;
            return std::nullopt;
        }
        case Takes::list:
            for (std::string_view listable : listables) {
                if (value == listable) {
                    options.list = value;
                    return std::nullopt;
                }
            }
            return named + ": one of hideouts, natives, builds";
    }
    return std::nullopt;
}

// What only makes sense with other options, once all are read.
std::optional<std::string> checkTogether(Options& options) {
    if (!options.build.empty() && !options.pluginPath.empty()) {
        return "--build and --plugin both name the plug-in: give one of them";
    }
    if (!options.build.empty() && !cooldownOfBuild(options.build)) {
        return "--build " + options.build + ": unknown build, one of " + buildNames();
    }
    if (options.tracePath.empty() && (options.traceFrom || options.traceUntil)) {
        return "--trace-from and --trace-until choose what --trace writes: give --trace FILE too";
    }
    if (options.traceFrom && options.traceUntil && *options.traceUntil <= *options.traceFrom) {
        return "--trace-until " + gametime::describeMoment(*options.traceUntil) +
               " is not after --trace-from " + gametime::describeMoment(*options.traceFrom);
    }
    if (!options.listGang.empty() && !scenario::gangNamed(options.listGang)) {
        return "--list hideouts " + options.listGang + ": unknown gang";
    }
    if (options.build.empty() && options.pluginPath.empty()) options.build = buildTable[0].name;
    return std::nullopt;
}

}  // namespace

std::span<const BuildInfo> builds() {
    return buildTable;
}

std::optional<std::int32_t> cooldownOfBuild(std::string_view build) {
    for (const BuildInfo& info : buildTable) {
        if (info.name == build) return info.cooldownMinutes;
    }
    return std::nullopt;
}

std::optional<std::int64_t> parseBytes(std::string_view text) {
    std::int64_t unit = 1;
    for (const ByteUnit& candidate : byteUnits) {
        if (text.ends_with(candidate.suffix)) {
            unit = candidate.bytes;
            text.remove_suffix(candidate.suffix.size());
            break;
        }
    }
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    // A petabyte of trace is far past any disk; the bound keeps the product from overflowing.
    if (error != std::errc{} || end != text.data() + text.size() ||
        value > 1'000'000'000'000'000 / unit) {
        return std::nullopt;
    }
    return value * unit;
}

std::string describeBytes(std::int64_t bytes) {
    for (const ByteUnit& unit : byteUnits) {
        if (bytes >= unit.bytes) {
            std::array<char, 32> text{};
            std::snprintf(text.data(), text.size(), "%.1f %s",
                          static_cast<double>(bytes) / static_cast<double>(unit.bytes),
                          std::string(unit.suffix).c_str());
            return text.data();
        }
    }
    return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

std::variant<Options, std::string> parseCommandLine(std::span<const std::string_view> args) {
    Options options;
    std::set<std::string_view> seen;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view name = args[i];
        std::optional<std::string_view> inlineValue;
        if (std::size_t equals = name.find('=');
            name.starts_with("--") && equals != std::string_view::npos) {
            inlineValue = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name == "--brief") {
            if (!seen.insert("--brief").second) return "--brief given twice";
            options.brief = true;
            continue;
        }
        if (name == "--invariants" && !inlineValue) {
            if (!seen.insert("--invariants").second) return "--invariants given twice";
            options.checkInvariants = true;
            continue;
        }
        const ValueOption* option = nullptr;
        for (const ValueOption& candidate : valueOptions) {
            if (candidate.name == name) option = &candidate;
        }
        if (option == nullptr) return "unknown option " + std::string(args[i]);
        if (!seen.insert(option->name).second)
            return std::string(option->name) + " given twice: give it once";
        if (!inlineValue && i + 1 == args.size()) return std::string(name) + " needs a value";
        const std::string_view value = inlineValue ? *inlineValue : args[++i];
        if (value.empty()) return std::string(name) + " needs a value";
        if (std::optional<std::string> error = takeValue(options, *option, value)) return *error;
        // --list hideouts takes an optional gang as its own word.
        if (options.list == "hideouts" && option->takes == Takes::list && i + 1 < args.size() &&
            !args[i + 1].starts_with("-")) {
            options.listGang = args[++i];
        }
    }
    if (options.help) return options;
    if (std::optional<std::string> error = checkTogether(options)) return *error;
    return options;
}

std::string usageText() {
    return "usage: gang-hideouts-sim [--build " + buildNames() +
           " | --plugin PATH] [--scenario FILE] [--seed N]\n"
           "         [--trace FILE [--trace-from MOMENT] [--trace-until MOMENT] [--trace-limit "
           "SIZE]]\n"
           "         [--svg FILE] [--events FILE] [--brief] [--invariants]\n"
           "       gang-hideouts-sim --list hideouts [GANG] | --list natives | --list builds\n"
           "\n"
           "Loads a Gang Hideouts plug-in build into the simulated game the way the game loads "
           "it,\n"
           "plays a scenario and prints what happened as a timeline.\n"
           "\n"
           "  --build NNh          the build to load (default 06h), found beside this program\n"
           "  --plugin PATH        load this plug-in file instead\n"
           "  --scenario FILE      the scenario to play (default: the bundled demo)\n"
           "  --seed N             seed of the game's random draws (default 1)\n"
           "  --trace FILE         write every host and native call as JSON Lines (about 1.7 GB\n"
           "                       per hour of frame time while no encounter runs)\n"
           "  --trace-from MOMENT  trace only calls from this game-clock moment: HH:MM (day 0) or\n"
           "  --trace-until MOMENT   \"day D HH:MM\"; --trace-until is the first moment left out\n"
           "  --trace-limit SIZE   largest trace allowed, e.g. 500MB, 10GB (default 2GB): a run\n"
           "                       expected to write more is refused, one that reaches it stops\n"
           "  --svg FILE           draw the map: hideouts with their numbers, the player's path,\n"
           "                       squads, deaths, and a close-up of each encounter\n"
           "  --events FILE        write the timeline as JSON Lines, one event a line\n"
           "  --brief              one line for a squad's creation and one for its members' lines\n"
           "  --list WHAT          list the hideouts (number, position, models), the natives that\n"
           "                       `expect calls` names, or the builds, and exit\n"
           "  --invariants         check the plug-in's invariants every frame; a broken one stops\n"
           "                       the run\n"
           "  --help               this text\n"
           "\n"
           "Scenario commands, one a line (# starts a comment):\n"
           "  clock HH:MM | clock +DURATION        goto GANG N [DX DY DZ] | goto X Y Z\n"
           "  run DURATION (10s, 2min, 1h30min)    run N frames\n"
           "  run N game days|hours|minutes        run until [day D] HH:MM\n"
           "  kill squad | kill N                  vanish N\n"
           "  player dead | player alive           gate on | gate off\n"
           "  model NAME never | model NAME loads  move N X Y Z\n"
           "  pool N                               date YYYY-MM-DD\n"
           "  player new                           expect ... (squads, squad, peds, deleted, "
           "said,\n"
           "                                         not said, calls)\n"
           "One game day is 48 minutes of frame time. The README's simulator section explains "
           "each\n"
           "command, the timeline and the trace.\n"
           "\n"
           "Exit status: 0 done, 1 an expect line failed, 2 bad usage, a bad scenario, an output "
           "that\n"
           "cannot be written or a plug-in that cannot be loaded, 3 the plug-in broke a rule of "
           "the\n"
           "script host or an invariant and the run stopped.\n";
}

}  // namespace cli
