// gang-hideouts-sim: loads a plug-in build into the simulated game the way the game loads it,
// plays a scenario, and prints what happened; optionally writes the trace and the map.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "sim/control.h"
#include "sim/plugin_loader.h"
#include "sim/program_path.h"
#include "sim/script_fibre.h"
#include "tools/command_line.h"
#include "tools/output_file.h"
#include "tools/scenario.h"
#include "tools/scenario_player.h"
#include "tools/svg_map.h"

namespace {

// Where the build tree puts the plug-ins and where the bundled scenarios live; both are set by
// the build, and an installed copy falls back to its own directory.
#ifndef GANG_HIDEOUTS_PLUGIN_DIR
#define GANG_HIDEOUTS_PLUGIN_DIR ""
#endif
#ifndef GANG_HIDEOUTS_SCENARIO_DIR
#define GANG_HIDEOUTS_SCENARIO_DIR ""
#endif

std::filesystem::path programDirectory() {
    const std::filesystem::path self = sim::programPath();
    return self.empty() ? std::filesystem::current_path() : self.parent_path();
}

std::string pluginFileOf(const std::string& build) {
    const std::string file = "GangHideouts" + build + std::string(sim::pluginFileSuffix());
    const std::filesystem::path beside = programDirectory() / file;
    std::error_code error;
    if (std::filesystem::exists(beside, error)) return beside.string();
    const std::filesystem::path built = std::filesystem::path(GANG_HIDEOUTS_PLUGIN_DIR) / file;
    return built.string();
}

std::string bundledDemo() {
    const std::filesystem::path bundled = std::filesystem::path(GANG_HIDEOUTS_SCENARIO_DIR) / "demo.scenario";
    std::error_code error;
    if (std::filesystem::exists(bundled, error)) return bundled.string();
    return (programDirectory() / "demo.scenario").string();
}

void failWithUsage(const std::string& message) {
    std::cerr << "gang-hideouts-sim: " << message << "\n" << cli::usageText();
}

extern "C" void stopOnSignal(int signal) {
    output::discardAllFromSignal();
    _exit(128 + signal);
}

struct Outputs {
    output::OutputFile trace;
    output::OutputFile svg;
    void discard() {
        output::discard(trace);
        output::discard(svg);
    }
};

int run(const cli::Options& options) {
    const std::string pluginPath = options.pluginPath.empty() ? pluginFileOf(options.build) : options.pluginPath;
    const std::string build = options.pluginPath.empty() ? options.build : cli::buildOfPluginFile(pluginPath);
    const std::string scenarioPath = options.scenarioPath.empty() ? bundledDemo() : options.scenarioPath;

    auto loaded = scenario::loadScenario(scenarioPath);
    if (auto* error = std::get_if<scenario::ScenarioError>(&loaded)) {
        std::cerr << scenario::describe(*error) << "\n";
        return cli::exitBadInput;
    }
    const scenario::Scenario& scenario = std::get<scenario::Scenario>(loaded);

    Outputs outputs;
    for (auto [path, file] : {std::pair{&options.tracePath, &outputs.trace}, std::pair{&options.svgPath, &outputs.svg}}) {
        if (path->empty()) continue;
        if (std::optional<std::string> error = output::open(*file, *path)) {
            outputs.discard();
            std::cerr << "gang-hideouts-sim: " << *error << "\n";
            return cli::exitBadInput;
        }
    }

    sim::WorldOptions world;
    world.seed = options.seed;
    sim::resetWorld(world);
    sim::startFibreHost();

    player::Session session;
    session.chronicle.cooldownMinutes = cli::cooldownOfBuild(build);
    session.trace = options.tracePath.empty() ? nullptr : &outputs.trace.stream;
    session.timeline = &std::cout;
    session.showProgress = isatty(STDERR_FILENO) != 0;
    session.scenarioName = scenarioPath;

    const std::string buildText = build.empty() ? pluginPath : build;
    std::cout << "Gang Hideouts simulator: build " << buildText;
    if (session.chronicle.cooldownMinutes) {
        std::cout << " (respawn cooldown " << chronicle::describeGameMinutes(*session.chronicle.cooldownMinutes) << ")";
    }
    std::cout << ", scenario " << scenarioPath << ", seed " << options.seed << "\n"
              << chronicle::timelineHeading() << "\n";

    auto plugin = sim::loadPlugin(pluginPath);
    if (auto* error = std::get_if<std::string>(&plugin)) {
        outputs.discard();
        std::cerr << "gang-hideouts-sim: " << *error << "\n";
        return cli::exitBadInput;
    }
    player::takeCalls(session);
    std::optional<scenario::ScenarioError> scenarioError;
    if (!sim::hostFailure()) scenarioError = player::playScenario(session, scenario);
    if (!sim::hostFailure() && !scenarioError) {
        sim::unloadPlugin(std::get<sim::LoadedPlugin>(plugin));
        player::takeCalls(session);
    }
    sim::stopFibreHost();

    if (scenarioError) {
        outputs.discard();
        std::cerr << scenario::describe(*scenarioError) << "\n";
        return cli::exitBadInput;
    }
    if (std::optional<std::string> failure = sim::hostFailure()) {
        outputs.discard();
        std::cerr << "gang-hideouts-sim: host error, the run stopped at frame " << sim::currentFrame()
                  << ": " << *failure << "\n";
        return cli::exitHostError;
    }
    if (!options.svgPath.empty()) {
        outputs.svg.stream << svg::renderMap(session.chronicle, {buildText, scenarioPath, options.seed});
    }
    for (output::OutputFile* file : {&outputs.trace, &outputs.svg}) {
        if (file->path.empty()) continue;
        if (std::optional<std::string> error = output::commit(*file)) {
            outputs.discard();
            std::cerr << "gang-hideouts-sim: " << *error << "\n";
            return cli::exitBadInput;
        }
    }

    std::cout << "\n" << session.chronicle.squads.size() << " squads, " << session.chronicle.deletedCount
              << " members removed by the plug-in, " << session.tracedCalls << " calls, "
              << session.expectsPassed << " expects passed, " << session.expectsFailed << " failed\n";
    if (!options.svgPath.empty()) std::cout << "map written to " << options.svgPath << "\n";
    if (!options.tracePath.empty()) std::cout << "trace written to " << options.tracePath << "\n";
    return session.expectsFailed > 0 ? cli::exitExpectFailed : cli::exitDone;
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
    std::signal(SIGINT, stopOnSignal);
    std::signal(SIGTERM, stopOnSignal);
    try {
        return run(options);
    } catch (const std::exception& error) {
        // A world control refusing a value the parser let through; never expected.
        output::discardAllFromSignal();
        std::cerr << "gang-hideouts-sim: " << error.what() << "\n";
        return cli::exitBadInput;
    }
}
