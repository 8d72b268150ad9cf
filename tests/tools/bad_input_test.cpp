// Bad input to the simulator, line by line and option by option: each gives exit status 2, a
// message naming the file, the line and the problem, no crash, and no trace or map left behind
// as if the run had been complete.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_simulator.h"

namespace {

class BadInput : public simrun::ScratchDirectory {
protected:
    tools_testing::RunResult simulate(std::vector<std::string> args) const {
        args.insert(args.end(),
                    {"--trace", out("trace.jsonl").string(), "--svg", out("map.svg").string()});
        return simrun::runSimulator(args);
    }
    bool outputsLeft() const { return !outputDirEmpty(); }
};

// The bad line comes third, after a line that runs frames, so the run is under way when the
// parser would otherwise have let it through: the whole file is read before anything runs.
TEST_F(BadInput, EveryMalformedScenarioLineNamesFileLineAndProblem) {
    const struct {
        std::string line;
        const char* problem;
    } cases[] = {
        {"teleport 1 2 3", "unknown command \"teleport\""},
        {"clock", "usage: clock HH:MM | clock +DURATION"},
        {"clock 25:00", "bad clock time \"25:00\""},
        {"clock 12:60", "bad clock time \"12:60\""},
        {"clock +0.5h", "bad duration \"0.5h\""},
        {"clock +90s", "bad duration \"+90s\": the game clock moves in whole minutes"},
        {"clock +99999999d", "bad duration \"99999999d\": at most 1000000 of a unit"},
        {"goto", "usage: goto GANG N [DX DY DZ] | goto X Y Z"},
        {"goto duster 39", "bad point \"39\": duster has points 1 to 38"},
        {"goto duster 4 1 2 inf", "bad coordinate \"inf\""},
        {"goto 1e39 0 0", "unknown gang \"1e39\""},
        {"goto 1,5 2 3", "unknown gang \"1,5\""},
        {"run",
         "usage: run DURATION | run N frames | run N game days|hours|minutes | run until [day D] "
         "HH:MM"},
        {"run 5", "bad duration \"5\""},
        {"run 5 minutes",
         "usage: run DURATION | run N frames | run N game days|hours|minutes | run until [day D] "
         "HH:MM"},
        {"run 9999999 frames", "bad frame count \"9999999\": must be 0 to 1000000"},
        {"run until noon", "bad clock time \"noon\""},
        {"kill", "usage: kill squad | kill N"},
        {"kill -1", "bad ped number \"-1\""},
        {"kill 99999999999999999999",
         "bad ped number \"99999999999999999999\": not a whole number"},
        {"player", "usage: player dead | player alive | player new"},
        {"player old", "usage: player dead | player alive | player new"},
        {"gate", "usage: gate on | gate off"},
        {"model g_m_m_uniswamp_01", "usage: model NAME never | model NAME loads"},
        {"vanish one", "bad ped number \"one\": not a whole number"},
        {"move 1 2 3", "usage: move N X Y Z"},
        {"move 1 2 3 nan", "bad coordinate \"nan\""},
        {"pool", "usage: pool N"},
        {"pool 1e3", "bad pool size \"1e3\": not a whole number"},
        {"date 1899-02-29", "bad date \"1899-02-29\""},
        {"date 99-01-01", "bad date \"99-01-01\""},
        {"date 1899/01/01", "bad date \"1899/01/01\""},
        {"date -899-01-01", "bad date \"-899-01-01\""},
        {"expect", "usage: expect squads N"},
        {"expect squads", "usage: expect squads N"},
        {"expect peds sleeping 3", "usage: expect squads N"},
        {"expect calls teleport 1", "unknown native \"teleport\""},
        {"expect squad swamp 3", "bad point \"3\": swamp has points 1 to 2"},
        {std::string("run 1s\0x", 8), "not a text file (NUL byte)"},
    };
    for (const auto& c : cases) {
        const std::string file =
            scenario("bad.scenario", "goto duster 4 0 -30 0\nrun 2s\n" + c.line + "\nrun 1s\n");
        const tools_testing::RunResult run = simulate({"--scenario", file});
        EXPECT_EQ(run.status, 2) << c.line << "\n" << run.output;
        EXPECT_NE(run.output.find(file + ":3: " + c.problem), std::string::npos)
            << c.line << "\nwanted: " << file << ":3: " << c.problem << "\ngot: " << run.output;
        EXPECT_FALSE(outputsLeft()) << c.line << ": a trace or map was left behind";
    }
}

// Commands that parse but name a ped the game has not created yet stop the run where they stand.
TEST_F(BadInput, ACommandOnAPedNotYetCreatedStopsTheRunAtItsLine) {
    for (const char* line : {"kill 8", "vanish 8", "move 8 0 0 0"}) {
        const std::string file = scenario(
            "early.scenario", std::string("goto duster 4 0 -30 0\nrun 10s\n") + line + "\n");
        const tools_testing::RunResult run = simulate({"--scenario", file});
        EXPECT_EQ(run.status, 2) << line << "\n" << run.output;
        EXPECT_NE(run.output.find(file + ":3: "), std::string::npos) << line << "\n" << run.output;
        EXPECT_NE(run.output.find("the plug-in has created only 7 peds so far"), std::string::npos)
            << run.output;
        EXPECT_FALSE(outputsLeft()) << line;
    }
}

TEST_F(BadInput, EveryMalformedOptionSaysWhatIsWrong) {
    const std::string fine = scenario("fine.scenario", "run 1s\n");
    const struct {
        std::vector<std::string> args;
        const char* problem;
    } cases[] = {
        {{"--seed", "-1", "--scenario", fine}, "--seed -1: not a whole number"},
        {{"--seed", "12x", "--scenario", fine}, "--seed 12x: not a whole number"},
        {{"--seed=", "--scenario", fine}, "--seed needs a value"},
        {{"--build", "6h", "--scenario", fine}, "--build 6h: unknown build"},
        {{"--build", "06h", "--plugin", "x.so", "--scenario", fine},
         "--build and --plugin both name the plug-in"},
        {{"--scenario="}, "--scenario needs a value"},
        {{"--scenario", (dir / "none.scenario").string()},
         "none.scenario: cannot read the scenario"},
        {{"--scenario", dir.string()}, "cannot read the scenario: it is a directory"},
        {{"--invariants=yes", "--scenario", fine}, "unknown option --invariants=yes"},
        {{"-x", "--scenario", fine}, "unknown option -x"},
    };
    for (const auto& c : cases) {
        const tools_testing::RunResult run = simulate(c.args);
        EXPECT_EQ(run.status, 2) << c.problem << "\n" << run.output;
        EXPECT_NE(run.output.find(c.problem), std::string::npos)
            << "wanted: " << c.problem << "\ngot: " << run.output;
        EXPECT_FALSE(outputsLeft()) << c.problem;
    }
}

// An output that cannot be written is bad input too, and leaves nothing of the other output.
TEST_F(BadInput, AnOutputThatCannotBeWrittenLeavesNoOtherOutput) {
    const std::string fine = scenario("fine.scenario", "run 1s\n");
    const tools_testing::RunResult run = tools_testing::runProgram(
        SIMULATOR, {"--scenario", fine, "--svg", (dir / "out" / "map.svg").string(), "--trace",
                    (dir / "no-such-dir" / "trace.jsonl").string()});
    EXPECT_EQ(run.status, 2) << run.output;
    EXPECT_NE(run.output.find("cannot write " + (dir / "no-such-dir" / "trace.jsonl").string()),
              std::string::npos)
        << run.output;
    EXPECT_FALSE(outputsLeft());
}

}  // namespace
