// gang-hideouts-soak as a user runs it: the same seed plays the same session, the commands it
// played replay in the simulator, and a plug-in that breaks an invariant fails the soak with the
// build, the seed and the frame.
#include <stdlib.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

namespace fs = std::filesystem;
using tools_testing::runProgram;

class Soak : public testing::Test {
protected:
    void SetUp() override {
        dir = tools_testing::freshDirectory("soak");
        ASSERT_FALSE(dir.empty());
    }
    void TearDown() override { fs::remove_all(dir); }

    // One game day of the 6 h build; the commands it played.
    std::string sessionOf(const std::string& seed) const {
        const fs::path out = dir / ("seed" + seed + ".scenario");
        const tools_testing::RunResult run = runProgram(
            SOAK,
            {"--build", "06h", "--days", "1", "--seed", seed, "--scenario-out", out.string()});
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_NE(run.output.find("06h: "), std::string::npos) << run.output;
        EXPECT_NE(run.output.find(" 0 invariant violations"), std::string::npos) << run.output;
        std::ifstream file(out);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    fs::path dir;
};

TEST_F(Soak, TheSameSeedPlaysTheSameSessionAndAnotherSeedAnother) {
    const std::string first = sessionOf("7");
    EXPECT_GT(std::count(first.begin(), first.end(), '\n'), 20)
        << "a day of play is more than a few commands";
    EXPECT_EQ(sessionOf("7"), first);
    EXPECT_NE(sessionOf("8"), first);
}

TEST_F(Soak, TheCommandsPlayedReplayInTheSimulatorWithTheSameSeed) {
    const std::string session = sessionOf("3");
    ASSERT_FALSE(session.empty());
    const tools_testing::RunResult replay =
        runProgram(SIMULATOR, {"--invariants", "--build", "06h", "--seed", "3", "--scenario",
                               (dir / "seed3.scenario").string()});
    EXPECT_EQ(replay.status, 0) << replay.output.substr(
        replay.output.size() > 2000 ? replay.output.size() - 2000 : 0);
}

TEST_F(Soak, ABrokenInvariantFailsTheSoakWithBuildSeedAndFrame) {
    const std::string rogue = (fs::path(ROGUE_PLUGIN_DIR) / "rogue_deletesPlayer.so").string();
    const tools_testing::RunResult run =
        runProgram(SOAK, {"--plugin", rogue, "--days", "1", "--seed", "5"});
    EXPECT_EQ(run.status, 1) << run.output;
    for (const std::string& wanted : std::vector<std::string>{
             rogue + ": FAILED at frame 91", "seed 5",
             "own peds: deleteEntity of ped 1, the player's",
             "replay: gang-hideouts-soak --plugin " + rogue + " --seed 5 --days 1"}) {
        EXPECT_NE(run.output.find(wanted), std::string::npos)
            << "wanted: " << wanted << "\ngot: " << run.output;
    }
}

TEST_F(Soak, BadUsageExitsWith2) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--days", "0"},
                                               {"--build", "07h"},
                                               {"--seed", "x"},
                                               {"--scenario-out", "x.scenario"},
                                               {"--frobnicate"}}) {
        const tools_testing::RunResult run = runProgram(SOAK, args);
        EXPECT_EQ(run.status, 2) << args[0] << "\n" << run.output;
        EXPECT_NE(run.output.find("usage: gang-hideouts-soak"), std::string::npos) << run.output;
    }
}

}  // namespace
