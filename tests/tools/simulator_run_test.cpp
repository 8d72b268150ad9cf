// gang-hideouts-sim run as a user runs it: exit statuses, messages, and what is left on disk.
#include "run_simulator.h"

namespace {

using namespace simrun;

class SimulatorRun : public ScratchDirectory {
protected:
    std::vector<std::string> withOutputs(std::vector<std::string> args) const {
        args.insert(args.end(), {"--trace", trace().string(), "--svg", map().string()});
        return args;
    }
    fs::path trace() const { return out("trace.jsonl"); }
    fs::path map() const { return out("map.svg"); }
};

// A short fight at a Duster hideout: spawn lines and the taunt draw variations from the seed.
constexpr const char* shortFight =
    "goto duster 4 0 -30 0\n"
    "run 30s\n"
    "kill squad\n"
    "run 3s\n";

TEST_F(SimulatorRun, BadInputExitsWith2NamesTheProblemAndLeavesNoOutput) {
    const std::string badLine = scenario("bad.scenario", "run 1s\ngoto outlaws 1\n");
    const std::string badKill =
        scenario("kill.scenario", "goto duster 4 0 -30 0\nrun 5s\nkill 9\n");
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"--bogus"}, "unknown option --bogus"},
        {{"--build", "07h"}, "--build 07h: unknown build"},
        {{"--scenario", "/nonexistent.scenario"},
         "/nonexistent.scenario: cannot read the scenario: No such file"},
        {{"--scenario", badLine}, "bad.scenario:2: unknown gang \"outlaws\""},
        {{"--scenario", badKill},
         "kill.scenario:3: kill 9: the plug-in has created only 7 peds so far"},
        {{"--plugin", "/nonexistent.so"}, "cannot load plug-in /nonexistent.so: no such file"},
        {{"--plugin", badLine}, "cannot load plug-in " + badLine + ":"},
    };
    for (const auto& c : cases) {
        const RunResult run = runSimulator(withOutputs(c.args));
        EXPECT_EQ(run.status, 2) << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos)
            << "wanted: " << c.message << "\ngot: " << run.output;
        EXPECT_TRUE(outputDirEmpty()) << c.message << ": a partial trace or map was left";
    }
}

TEST_F(SimulatorRun, APlugInThatBreaksAHostRuleStopsTheRunWith3AndTheNative) {
    const std::string idle = scenario("idle.scenario", "run 2s\n");
    const struct {
        const char* plugin;
        const char* message;
    } cases[] = {
        {"rogue_runaway.so",
         "the script did not yield in frame 1: 100000 native calls without a scriptWait, the last "
         "native "
         "tickGate (0xB15CD1CF58771DE1)"},
        {"rogue_unknownNative.so", "unknown native 0x0123456789ABCDEF"},
        {"rogue_wrongSlots.so",
         "native playerPed (0x096275889B8E0EE0) takes 0 argument slots, got 1"},
        {"rogue_nativeOnLoad.so",
         "native playerPed (0x096275889B8E0EE0) called off the script fibre"},
    };
    for (const auto& c : cases) {
        const std::string plugin = (fs::path(ROGUE_PLUGIN_DIR) / c.plugin).string();
        const RunResult run = runSimulator(withOutputs({"--plugin", plugin, "--scenario", idle}));
        EXPECT_EQ(run.status, 3) << run.output;
        EXPECT_NE(run.output.find("host error"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos)
            << "wanted: " << c.message << "\ngot: " << run.output;
        EXPECT_TRUE(outputDirEmpty()) << c.plugin;
    }
}

TEST_F(SimulatorRun, AFailedExpectExitsWith1AfterPlayingToTheEndWithCompleteOutputs) {
    const std::string failing = scenario(
        "fail.scenario", "goto duster 4 0 -30 0\nrun 5s\nexpect squads 5\nexpect peds alive 7\n");
    const RunResult run = runSimulator(withOutputs({"--scenario", failing}));
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("fail.scenario:3: expect failed: expect squads 5 (found 1)"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("1 expect passed, 1 failed"), std::string::npos) << run.output;
    const std::string traceText = readFile(trace());
    EXPECT_TRUE(traceText.starts_with(
        "{\"frame\":0,\"t\":0,\"day\":0,\"clock\":\"08:00\",\"host\":\"scriptRegister\""));
    EXPECT_TRUE(traceText.ends_with("\"host\":\"scriptUnregister\",\"args\":[]}\n"))
        << "the trace runs to the unload";
    EXPECT_TRUE(readFile(map()).ends_with("</svg>\n"));
}

TEST_F(SimulatorRun, TheSameScenarioAndSeedGiveTheSameTraceByteForByte) {
    const std::string fight = scenario("fight.scenario", shortFight);
    auto traceOf = [&](const std::string& seed) {
        const RunResult run =
            runSimulator({"--scenario", fight, "--seed", seed, "--trace", trace().string()});
        EXPECT_EQ(run.status, 0) << run.output;
        return readFile(trace());
    };
    const std::string first = traceOf("7");
    const std::string second = traceOf("7");
    const std::string otherSeed = traceOf("8");
    EXPECT_GT(first.size(), 10000u);
    EXPECT_TRUE(first == second) << "two runs with seed 7 wrote different traces";
    EXPECT_FALSE(first == otherSeed) << "the seed does not reach the game's random draws";
}

// The timeline read the ped's state after the plug-in's own delete had removed it, and so
// blamed the game for every deletion.
TEST_F(SimulatorRun, TimelineSaysTheGameRemovedAPedOnlyWhenItVanished) {
    const std::string fight = scenario("vanish.scenario",
                                       "goto duster 4 0 -30 0\nrun 30s\nvanish 1\nkill 2\n"
                                       "goto 500 500 0\nrun 25s\nexpect deleted 7\n");
    const RunResult run = runSimulator({"--scenario", fight});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("ped 101 deleted by the plug-in (the game had already removed it)"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("ped 102 deleted by the plug-in (dead, "), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("ped 103 deleted by the plug-in (alive, "), std::string::npos)
        << run.output;
}

// A clock set back before the squad's time made the re-arm line count a negative duration.
TEST_F(SimulatorRun, TimelineNamesAClockSetBackInsteadOfANegativeDuration) {
    const std::string setBack =
        scenario("setback.scenario", "goto duster 4 0 -30 0\nrun 10s\nclock 02:00\nrun 30s\n");
    const RunResult run = runSimulator({"--scenario", setBack});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("hideouts re-armed, the clock having been set back since squad 1"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("re-armed, -"), std::string::npos) << run.output;
}

// A death and a revival while the plug-in was busy spawning go unseen by it, so the walk that
// follows the re-arm was still put down to the player's death.
TEST_F(SimulatorRun, TimelineCallsAReArmAReArmWhenTheDeathCameWhileThePlugInWaited) {
    const std::string unseen = scenario("unseen.scenario",
                                        "goto duster 4 0 -30 0\nrun 1s\nplayer dead\nplayer alive\n"
                                        "run 30s\nclock +6h\nrun 2s\n");
    const RunResult run = runSimulator({"--scenario", unseen});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("hideouts re-armed, "), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("the player's death ended the encounter"), std::string::npos)
        << run.output;
}

TEST_F(SimulatorRun, HelpExitsWith0AndListsTheOptions) {
    const RunResult run = runSimulator({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* option : {"--build", "--plugin", "--scenario", "--seed", "--trace", "--svg"}) {
        EXPECT_NE(run.output.find(option), std::string::npos) << option;
    }
}

}  // namespace
