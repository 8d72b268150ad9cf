// The benchmarks of `make bench`. Each figure is also given as a ratio to another measured in the
// same run, so that the table means something on whatever machine it ran.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <variant>

#include "bench/null_host_plugin.h"
#include "data/gang_profiles.h"
#include "encounter/encounter_state.h"
#include "encounter/tick_director.h"
#include "sim/control.h"
#include "sim/plugin_loader.h"
#include "sim/script_fibre.h"
#include "tests/support/fresh_encounter.h"
#include "tools/scenario.h"
#include "tools/scenario_player.h"

namespace {

using encounter_testing::quietWorld;
using encounter_testing::resetEncounter;

// The hideout walk of an idle tick done inline: every point's distance from the player, in 32-bit
// floats, in profile order, stopping at the first within reach. No native, no protocol.
void inlineFloor(benchmark::State& state) {
    Vector3 player{0.0f, 0.0f, 0.0f};
    for (auto _ : state) {
        benchmark::DoNotOptimize(player);
        const Vector3* found = nullptr;
        for (const GangProfile& profile : gangProfiles) {
            for (const Vector3& point : profile.hideouts) {
                const float dx = point.x - player.x;
                const float dy = point.y - player.y;
                const float dz = point.z - player.z;
                if (std::sqrt(dx * dx + dy * dy + dz * dz) < triggerDistance) {
                    found = &point;
                    break;
                }
            }
            if (found != nullptr) break;
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(inlineFloor);

void idleTickNullHost(benchmark::State& state) {
    nullHostReset(1000.0f);
    for (auto _ : state) nullHostTick();
    state.counters["natives/tick"] =
        static_cast<double>(nullHostNativeCalls()) / static_cast<double>(state.iterations());
}
BENCHMARK(idleTickNullHost);

// The simulator empties the call log after every frame; so does this.
void idleTick(benchmark::State& state) {
    resetEncounter();
    for (auto _ : state) {
        tick();
        sim::clearCalls();
    }
}
BENCHMARK(idleTick);

void encounterTick(benchmark::State& state) {
    resetEncounter();
    const Vector3 point = dusterHideouts[3];
    sim::placePlayer({point.x, point.y - 40.0f, point.z});
    tick();  // spawns the squad and plays the taunt, its waits running the world on
    sim::clearCalls();
    for (auto _ : state) {
        tick();
        sim::clearCalls();
    }
    if (sim::livingPedCount() != 7) state.SkipWithError("the squad is not alive and seven strong");
}
BENCHMARK(encounterTick);

// Against the null host, whose scriptWait returns at once: the spawn's own work, no waiting.
void spawnTick(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        nullHostReset(10.0f);
        state.ResumeTiming();
        nullHostTick();
    }
}
BENCHMARK(spawnTick);

void waitForever() {
    for (;;) scriptWait(0);
}

void frameRoundTrip(benchmark::State& state) {
    sim::resetWorld(quietWorld());
    sim::startFibreHost();
    static int moduleToken = 0;
    scriptRegister(&moduleToken, waitForever);
    for (auto _ : state) {
        sim::runScriptFrame();
        sim::clearCalls();
    }
    sim::stopFibreHost();
    if (sim::hostFailure()) state.SkipWithError(sim::hostFailure()->c_str());
}
BENCHMARK(frameRoundTrip);

// The whole simulator in process: the real plug-in build, the fibre host, the scenario player,
// the chronicle, and with tracing on the trace writer (to /dev/null).
void simThroughput(benchmark::State& state, const char* scenarioFile, bool tracing) {
    auto loaded = scenario::loadScenario(scenarioFile);
    if (!std::holds_alternative<scenario::Scenario>(loaded)) {
        state.SkipWithError("cannot load the scenario");
        return;
    }
    const scenario::Scenario& scenario = std::get<scenario::Scenario>(loaded);
    std::ofstream nowhere("/dev/null", std::ios::binary);
    std::int64_t frames = 0;
    std::int64_t records = 0;
    for (auto _ : state) {
        sim::resetWorld();
        sim::startFibreHost();
        auto plugin = sim::loadPlugin(BENCH_PLUGIN);
        if (!std::holds_alternative<sim::LoadedPlugin>(plugin)) {
            state.SkipWithError("cannot load the plug-in");
            return;
        }
        player::Session session;
        session.trace = tracing ? &nowhere : nullptr;
        const std::int64_t startFrame = sim::currentFrame();
        player::takeCalls(session);
        player::playScenario(session, scenario);
        frames += sim::currentFrame() - startFrame;
        sim::unloadPlugin(std::get<sim::LoadedPlugin>(plugin));
        player::takeCalls(session);
        sim::stopFibreHost();
        records += session.tracedCalls;
        if (session.expectsFailed > 0) state.SkipWithError("an expect line failed");
    }
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.counters["records/s"] =
        benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsRate);
}
BENCHMARK_CAPTURE(simThroughput, idle / tracingOff, BENCH_SCENARIO_DIR "/throughput_idle.scenario",
                  false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(simThroughput, idle / tracingOn, BENCH_SCENARIO_DIR "/throughput_idle.scenario",
                  true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(simThroughput, encounter / tracingOff,
                  BENCH_SCENARIO_DIR "/throughput_encounter.scenario", false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(simThroughput, encounter / tracingOn,
                  BENCH_SCENARIO_DIR "/throughput_encounter.scenario", true)
    ->Unit(benchmark::kMillisecond);

// Prints the runs as usual and keeps each one's CPU time per iteration (the machine may be shared):
// the median when the runs are repeated, the single run otherwise.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> nanoseconds;

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median) continue;
            if (run.error_occurred) continue;
            const double perIteration =
                run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (median || !nanoseconds.contains(run.run_name.str())) {
                nanoseconds[run.run_name.str()] = perIteration * 1e9;
            }
        }
    }
};

void printRatio(const RatioReporter& reporter, const char* name, const char* base,
                std::optional<double> target = std::nullopt) {
    const auto a = reporter.nanoseconds.find(name);
    const auto b = reporter.nanoseconds.find(base);
    if (a == reporter.nanoseconds.end() || b == reporter.nanoseconds.end()) return;
    const double ratio = a->second / b->second;
    std::printf("  %-18s / %-18s %8.2f", name, base, ratio);
    if (target)
        std::printf("   (target at most %.0f: %s)", *target, ratio <= *target ? "met" : "MISSED");
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios (CPU times per iteration, medians when repeated, same run):\n");
    printRatio(reporter, "idleTickNullHost", "inlineFloor", 10);
    printRatio(reporter, "idleTick", "idleTickNullHost", 3);
    printRatio(reporter, "encounterTick", "idleTick");
    printRatio(reporter, "spawnTick", "idleTickNullHost");
    printRatio(reporter, "frameRoundTrip", "idleTick");
    benchmark::Shutdown();
    return 0;
}
