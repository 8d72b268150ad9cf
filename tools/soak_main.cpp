// gang-hideouts-soak: plays long seeded sessions against every build (or one) with the plug-in's
// invariants checked, and sums up each build. A failure names the build, the seed and the frame;
// the same options replay it.
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "tools/command_line.h"
#include "tools/output_file.h"
#include "tools/plugin_file.h"
#include "tools/soak.h"

namespace {

constexpr int exitClean = 0;
constexpr int exitFailed = 1;  // an invariant broke or the host stopped a run
constexpr int exitBadUsage = 2;
constexpr int mostDays = 10'000;

struct Options {
    std::vector<std::string> builds;  // empty: all eight
    std::string pluginPath;
    std::uint64_t seed = 1;
    int days = 2;
    std::string scenarioOut;
    bool help = false;
};

std::string usage() {
    return "usage: gang-hideouts-soak [--build NNh ... | --plugin PATH] [--days N] [--seed N]\n"
           "                          [--scenario-out FILE]\n"
           "\n"
           "Plays a long session chosen by the seed against each build (all eight by default) "
           "with\n"
           "the plug-in's invariants checked every frame: travel between hideouts and far away,\n"
           "fights, deaths, sleep, earlier saves, missions holding the frame gate, and the game's\n"
           "faults. Prints a summary per build.\n"
           "\n"
           "  --build NNh          soak this build (may be given more than once)\n"
           "  --plugin PATH        soak this plug-in file instead\n"
           "  --days N             game days per build (default 2)\n"
           "  --seed N             the session's seed (default 1); the same seed replays it\n"
           "  --scenario-out FILE  write the commands played, a scenario the simulator replays\n"
           "                       with the same --seed (one build only)\n"
           "\n"
           "Exit status: 0 every build clean, 1 a build broke an invariant or a host rule, 2 bad "
           "usage.\n";
}

template <class Number>
bool readNumber(std::string_view text, Number& value) {
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

std::variant<Options, std::string> parse(std::span<const std::string_view> args) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view option = args[i];
        if (option == "--help" || option == "-h") {
            options.help = true;
            continue;
        }
        if (option != "--build" && option != "--plugin" && option != "--days" &&
            option != "--seed" && option != "--scenario-out") {
            return "unknown option " + std::string(option);
        }
        if (i + 1 == args.size() || args[i + 1].empty())
            return std::string(option) + " needs a value";
        const std::string_view value = args[++i];
        if (option == "--build") {
            if (!cli::cooldownOfBuild(value))
                return "--build " + std::string(value) + ": unknown build";
            options.builds.emplace_back(value);
        } else if (option == "--plugin") {
            options.pluginPath = value;
        } else if (option == "--days") {
            if (!readNumber(value, options.days) || options.days < 1 || options.days > mostDays) {
                return "--days " + std::string(value) + ": a whole number from 1 to " +
                       std::to_string(mostDays);
            }
        } else if (option == "--seed") {
            if (!readNumber(value, options.seed))
                return "--seed " + std::string(value) + ": not a whole number";
        } else {
            options.scenarioOut = value;
        }
    }
    if (!options.pluginPath.empty() && !options.builds.empty())
        return "--build and --plugin both name the plug-in";
    if (options.builds.empty() && options.pluginPath.empty()) {
        for (const cli::BuildInfo& build : cli::builds()) options.builds.emplace_back(build.name);
    }
    if (!options.scenarioOut.empty() && options.builds.size() > 1) {
        return "--scenario-out needs one build (--build NNh or --plugin PATH)";
    }
    return options;
}

struct Target {
    std::string name;  // the build, or the plug-in file
    std::string path;
    int cooldownMinutes;
};

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    auto parsed = parse(args);
    if (auto* error = std::get_if<std::string>(&parsed)) {
        std::cerr << "gang-hideouts-soak: " << *error << "\n" << usage();
        return exitBadUsage;
    }
    const Options& options = std::get<Options>(parsed);
    if (options.help) {
        std::cout << usage();
        return exitClean;
    }
    std::vector<Target> targets;
    if (!options.pluginPath.empty()) {
        // A plug-in file named like a build (GangHideouts24h.so) is held to that build's re-arm
        // rule.
        const std::string stem = std::filesystem::path(options.pluginPath).stem().string();
        const std::string build =
            stem.starts_with("GangHideouts") ? stem.substr(12) : std::string();
        targets.push_back(
            {options.pluginPath, options.pluginPath, cli::cooldownOfBuild(build).value_or(0)});
    }
    for (const std::string& build : options.builds) {
        targets.push_back({build, tools::pluginFileOf(build), *cli::cooldownOfBuild(build)});
    }

    const bool terminal = isatty(STDERR_FILENO) != 0;
    std::cout << "soak: " << options.days << " game days per build, seed " << options.seed << "\n";
    int failed = 0;
    for (const Target& target : targets) {
        soak::Options run{.pluginPath = target.path,
                          .cooldownMinutes = target.cooldownMinutes,
                          .seed = options.seed,
                          .days = options.days,
                          .progress = {}};
        // A progress line: rewritten in place on a terminal, a line every ten days elsewhere.
        double lastLine = 0;
        run.progress = [&](double days, std::int64_t frames, std::int64_t squads) {
            if (!terminal && days - lastLine < 10) return;
            lastLine = days;
            std::fprintf(stderr, "%s%s: day %.1f of %d, frame %lld, %lld squads%s",
                         terminal ? "\r\033[K" : "", target.name.c_str(), days, options.days,
                         static_cast<long long>(frames), static_cast<long long>(squads),
                         terminal ? "" : "\n");
        };
        const soak::Result result = soak::run(run);
        if (terminal) std::fputs("\r\033[K", stderr);

        if (!options.scenarioOut.empty()) {
            output::OutputFile file;
            std::optional<std::string> error = output::open(file, options.scenarioOut);
            if (!error) {
                file.stream << "# gang-hideouts-soak --build " << target.name << " --seed "
                            << options.seed << " --days " << options.days
                            << "; replay with gang-hideouts-sim --invariants --seed "
                            << options.seed << "\n"
                            << result.scenario;
                error = output::commit(file);
            }
            if (error) std::cerr << "gang-hideouts-soak: " << *error << "\n";
        }
        const sim::RunCounts& c = result.counts;
        if (result.failure) {
            ++failed;
            std::cout << target.name << ": FAILED at frame " << result.failedAtFrame << " ("
                      << result.days << " game days in), seed " << options.seed << ": "
                      << *result.failure << "\n"
                      << "  replay: gang-hideouts-soak --"
                      << (options.pluginPath.empty() ? "build " : "plugin ") << target.name
                      << " --seed " << options.seed << " --days " << options.days
                      << " [--scenario-out FILE]\n";
            continue;
        }
        std::printf(
            "%s: %.1f game days, %lld frames, %lld squads, %lld members created, %lld deleted, "
            "%lld lines said, %lld faults injected, 0 invariant violations\n",
            target.name.c_str(), result.days, static_cast<long long>(result.frames),
            static_cast<long long>(c.squads), static_cast<long long>(c.membersCreated),
            static_cast<long long>(c.membersDeleted), static_cast<long long>(c.linesSaid),
            static_cast<long long>(result.faults));
        std::fflush(stdout);
    }
    return failed > 0 ? exitFailed : exitClean;
}
