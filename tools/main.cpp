// gang-hideouts-sim: loads a plug-in build into the simulated game the way the game loads it,
// plays a scenario, and prints what happened; optionally writes the trace, the map and the events.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "sim/control.h"
#include "sim/plugin_loader.h"
#include "sim/script_fibre.h"
#include "tools/command_line.h"
#include "tools/listings.h"
#include "tools/output_file.h"
#include "tools/plugin_file.h"
#include "tools/scenario.h"
#include "tools/scenario_player.h"
#include "tools/svg_map.h"
#include "tools/trace_estimate.h"
#include "tools/wording.h"

namespace {

namespace fs = std::filesystem;

// Where the bundled scenarios live; set by the build, and an installed copy falls back to its own
// directory.
#ifndef GANG_HIDEOUTS_SCENARIO_DIR
#define GANG_HIDEOUTS_SCENARIO_DIR ""
#endif

using tools::pluginFileOf;
using tools::programDirectory;

std::string bundledDemo() {
    const fs::path bundled = fs::path(GANG_HIDEOUTS_SCENARIO_DIR) / "demo.scenario";
    std::error_code error;
    if (fs::exists(bundled, error)) return bundled.string();
    return (programDirectory() / "demo.scenario").string();
}

std::string contentsOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The build whose file holds the same bytes as this plug-in; empty when it is none of them. A
// file's name says nothing: a renamed or rebuilt file keeps a name it no longer deserves.
std::string buildWithContentOf(const std::string& pluginPath) {
    const std::string contents = contentsOf(pluginPath);
    for (const cli::BuildInfo& build : cli::builds()) {
        const std::string candidate = pluginFileOf(build.name);
        std::error_code error;
        if (fs::file_size(candidate, error) != contents.size() || error) continue;
        if (contentsOf(candidate) == contents) return std::string(build.name);
    }
    return {};
}

void failWithUsage(const std::string& message) {
    std::cerr << "gang-hideouts-sim: " << message << "\n" << cli::usageText();
}

int fail(const std::string& message, int status) {
    std::cerr << "gang-hideouts-sim: " << message << "\n";
    return status;
}

extern "C" void stopOnSignal(int signal) {
    output::discardAllFromSignal();
    std::_Exit(128 + signal);
}

struct Outputs {
    output::OutputFile trace;
    output::OutputFile svg;
    output::OutputFile events;
    void discard() {
        output::discard(trace);
        output::discard(svg);
        output::discard(events);
    }
};

// What the run reads: the plug-in, the build it is (if known) and the scenario.
struct Inputs {
    std::string pluginPath;
    std::string build;  // empty when the plug-in is none of the builds
    std::string scenarioPath;
    scenario::Scenario scenario;
};

std::variant<Inputs, int> readInputs(const cli::Options& options) {
    Inputs inputs;
    inputs.pluginPath =
        options.pluginPath.empty() ? pluginFileOf(options.build) : options.pluginPath;
    std::error_code error;
    if (fs::is_directory(inputs.pluginPath, error)) {
        return fail("cannot load plug-in " + inputs.pluginPath + ": it is a directory",
                    cli::exitBadInput);
    }
    inputs.build =
        options.pluginPath.empty() ? options.build : buildWithContentOf(inputs.pluginPath);
    inputs.scenarioPath = options.scenarioPath.empty() ? bundledDemo() : options.scenarioPath;
    auto loaded = scenario::loadScenario(inputs.scenarioPath);
    if (auto* bad = std::get_if<scenario::ScenarioError>(&loaded)) {
        std::cerr << scenario::describe(*bad) << "\n";
        return cli::exitBadInput;
    }
    inputs.scenario = std::move(std::get<scenario::Scenario>(loaded));
    if (inputs.scenario.commands.empty()) {
        std::cerr << "gang-hideouts-sim: warning: " << inputs.scenarioPath
                  << " has no commands: the plug-in is loaded and unloaded, and nothing runs\n";
    }
    return inputs;
}

player::TraceWindow traceWindowOf(const cli::Options& options) {
    return {options.traceFrom, options.traceUntil, options.traceLimitBytes};
}

// Refuses, before anything runs, outputs that would overwrite an input or each other, cannot be
// written, or a trace expected to outgrow its limit; opens the rest.
std::optional<std::string> openOutputs(const cli::Options& options, const Inputs& inputs,
                                       Outputs& outputs) {
    std::vector<output::NamedPath> wanted;
    if (!options.tracePath.empty()) wanted.push_back({"--trace", options.tracePath});
    if (!options.svgPath.empty()) wanted.push_back({"--svg", options.svgPath});
    if (!options.eventsPath.empty()) wanted.push_back({"--events", options.eventsPath});
    const std::vector<output::NamedPath> read = {{"the scenario", inputs.scenarioPath},
                                                 {"the plug-in", inputs.pluginPath}};
    if (std::optional<std::string> clash = output::findClash(read, wanted)) return clash;
    if (!options.tracePath.empty()) {
        const std::int64_t estimate =
            traceestimate::estimatedBytes(inputs.scenario, traceWindowOf(options));
        if (estimate > options.traceLimitBytes) {
            return "the trace of this run would be about " + cli::describeBytes(estimate) +
                   ", more than its limit of " + cli::describeBytes(options.traceLimitBytes) +
                   ": narrow it with --trace-from and --trace-until, or raise --trace-limit";
        }
    }
    for (auto [path, file] :
         {std::pair{&options.tracePath, &outputs.trace}, std::pair{&options.svgPath, &outputs.svg},
          std::pair{&options.eventsPath, &outputs.events}}) {
        if (path->empty()) continue;
        if (std::optional<std::string> error = output::open(*file, *path)) {
            outputs.discard();
            return error;
        }
    }
    return std::nullopt;
}

void printHeading(const Inputs& inputs, const player::Session& session,
                  const cli::Options& options) {
    std::cout << "Gang Hideouts simulator: ";
    if (!inputs.build.empty()) {
        std::cout << "build " << inputs.build << " (respawn cooldown "
                  << chronicle::describeGameMinutes(*session.chronicle.cooldownMinutes) << ")";
    } else {
        std::cout << "plug-in " << inputs.pluginPath
                  << " (respawn cooldown unknown: not one of the builds)";
    }
    std::cout << ", seed " << options.seed << "\nscenario " << inputs.scenarioPath << "\n"
              << chronicle::timelineHeading() << "\n";
}

// Loads the plug-in, plays the scenario and unloads it; the message of a plug-in that cannot load.
std::variant<std::optional<scenario::ScenarioError>, std::string> play(player::Session& session,
                                                                       const Inputs& inputs) {
    auto plugin = sim::loadPlugin(inputs.pluginPath);
    if (auto* error = std::get_if<std::string>(&plugin)) return *error;
    player::takeCalls(session);
    std::optional<scenario::ScenarioError> scenarioError;
    if (!sim::hostFailure() && !session.stopped)
        scenarioError = player::playScenario(session, inputs.scenario);
    if (!sim::hostFailure() && !scenarioError && !session.stopped) {
        sim::unloadPlugin(std::get<sim::LoadedPlugin>(plugin));
        player::takeCalls(session);
    }
    return scenarioError;
}

void printSummary(const player::Session& session, const cli::Options& options) {
    const chronicle::Chronicle& story = session.chronicle;
    std::cout << "\n"
              << wording::counted(static_cast<std::int64_t>(story.squads.size()), "squad", "squads")
              << ", " << wording::counted(story.deletedCount, "member", "members")
              << " removed by the plug-in, "
              << wording::counted(session.tracedCalls, "call", "calls") << ", "
              << wording::counted(session.expectsPassed, "expect", "expects") << " passed, "
              << session.expectsFailed << " failed\n";
    if (!options.svgPath.empty()) std::cout << "map written to " << options.svgPath << "\n";
    if (!options.tracePath.empty()) {
        std::cout << "trace written to " << options.tracePath << " ("
                  << cli::describeBytes(session.traceBytes) << ")\n";
    }
    if (!options.eventsPath.empty())
        std::cout << "events written to " << options.eventsPath << "\n";
}

int run(const cli::Options& options) {
    auto read = readInputs(options);
    if (auto* status = std::get_if<int>(&read)) return *status;
    const Inputs& inputs = std::get<Inputs>(read);

    Outputs outputs;
    if (std::optional<std::string> error = openOutputs(options, inputs, outputs)) {
        return fail(*error, cli::exitBadInput);
    }

    sim::WorldOptions world;
    world.seed = options.seed;
    world.checkInvariants = options.checkInvariants;
    world.cooldownMinutes = cli::cooldownOfBuild(inputs.build).value_or(0);
    sim::resetWorld(world);
    sim::startFibreHost();

    player::Session session;
    session.chronicle.cooldownMinutes = cli::cooldownOfBuild(inputs.build);
    session.trace = options.tracePath.empty() ? nullptr : &outputs.trace.stream;
    session.traceName = options.tracePath;
    session.traceWindow = traceWindowOf(options);
    session.timeline = &std::cout;
    session.brief = options.brief;
    session.events = options.eventsPath.empty() ? nullptr : &outputs.events.stream;
    session.showProgress = isatty(STDERR_FILENO) != 0;
    session.scenarioName = inputs.scenarioPath;
    printHeading(inputs, session, options);

    auto played = play(session, inputs);
    sim::stopFibreHost();

    if (auto* error = std::get_if<std::string>(&played)) {
        outputs.discard();
        return fail(*error, cli::exitBadInput);
    }
    if (const auto& scenarioError = std::get<std::optional<scenario::ScenarioError>>(played)) {
        outputs.discard();
        std::cerr << scenario::describe(*scenarioError) << "\n";
        return cli::exitBadInput;
    }
    if (std::optional<std::string> failure = sim::hostFailure()) {
        outputs.discard();
        return fail("host error, the run stopped at frame " + std::to_string(sim::currentFrame()) +
                        ": " + *failure,
                    cli::exitHostError);
    }
    if (session.stopped) {
        outputs.discard();
        return fail("the run stopped: " + *session.stopped, cli::exitBadInput);
    }
    player::finish(session);
    if (!options.svgPath.empty()) {
        const std::string buildText = inputs.build.empty() ? inputs.pluginPath : inputs.build;
        outputs.svg.stream << svg::renderMap(session.chronicle,
                                             {buildText, inputs.scenarioPath, options.seed});
    }
    for (output::OutputFile* file : {&outputs.trace, &outputs.svg, &outputs.events}) {
        if (file->path.empty()) continue;
        if (std::optional<std::string> error = output::commit(*file)) {
            outputs.discard();
            return fail(*error, cli::exitBadInput);
        }
    }
    printSummary(session, options);
    return session.expectsFailed > 0 ? cli::exitExpectFailed : cli::exitDone;
}

int list(const cli::Options& options) {
    if (options.list == "hideouts") {
        std::cout << listings::hideouts(
            options.listGang.empty() ? std::nullopt : scenario::gangNamed(options.listGang));
    } else if (options.list == "natives") {
        std::cout << listings::natives();
    } else {
        std::cout << listings::builds();
    }
    return cli::exitDone;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    auto parsed = cli::parseCommandLine(args);
    if (auto* error = std::get_if<std::string>(&parsed)) {
        failWithUsage(*error);
        return cli::exitBadInput;
    }
    const cli::Options& options = std::get<cli::Options>(parsed);
    if (options.help) {
        std::cout << cli::usageText();
        return cli::exitDone;
    }
    if (!options.list.empty()) return list(options);
    std::signal(SIGINT, stopOnSignal);
    std::signal(SIGTERM, stopOnSignal);
    try {
        return run(options);
    } catch (const std::exception& error) {
        // A world control refusing a value the parser let through; never expected.
        output::discardAllFromSignal();
        return fail(error.what(), cli::exitBadInput);
    }
}
