#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <numeric>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "data/gang_profiles.h"
#include "speech/aftermath_scripts.h"
#include "speech/approach_taunts.h"
#include "tests/support/encounter_fixture.h"
#include "tests/support/named_scripts.h"

namespace {

using namespace encounter_testing;
using Script = std::span<const SpeechStep>;
using testing_scripts::everyScript;
using testing_scripts::NamedScript;
using Pair = std::pair<std::int32_t, std::int32_t>;

std::uint32_t totalWaitMs(Script script) {
    return std::accumulate(
        script.begin(), script.end(), 0u,
        [](std::uint32_t sum, const SpeechStep& s) { return sum + s.waitAfterMs.value_or(0); });
}

TEST(SpeechScripts, EachScriptHasItsLineCountAndItsTotalWait) {
    struct Case {
        Script script;
        std::size_t lines;
        std::uint32_t totalSeconds;
    };
    const std::map<std::string, Case> cases = {
        {"approachTauntDuster", {approachTauntDuster, 7, 24}},
        {"approachTauntExConfederate", {approachTauntExConfederate, 8, 28}},
        {"approachTauntSwamp", {approachTauntSwamp, 6, 19}},
        {"approachTauntInbred", {approachTauntInbred, 6, 15}},
        {"approachTauntMountainMan", {approachTauntMountainMan, 7, 24}},
        {"approachTauntBandito", {approachTauntBandito, 8, 28}},
        {"firstKillLinesBandito", {firstKillLinesBandito, 2, 8}},
        {"firstKillLinesInbred", {firstKillLinesInbred, 2, 5}},
        {"firstKillLinesExConfederate", {firstKillLinesExConfederate, 3, 10}},
        {"firstKillLinesSwamp", {firstKillLinesSwamp, 3, 10}},
        {"firstKillLinesMountainMan", {firstKillLinesMountainMan, 3, 8}},
        {"firstKillLinesDefault", {firstKillLinesDefault, 4, 17}},
        {"closingLinesBandito", {closingLinesBandito, 3, 8}},
        {"closingLinesInbred", {closingLinesInbred, 3, 8}},
        {"closingLinesExConfederate", {closingLinesExConfederate, 4, 15}},
        {"closingLinesSwamp", {closingLinesSwamp, 2, 4}},
        {"closingLinesMountainMan", {closingLinesMountainMan, 3, 8}},
        {"closingLinesDefault", {closingLinesDefault, 5, 20}},
    };
    for (const auto& [name, c] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(c.script.size(), c.lines);
        EXPECT_EQ(totalWaitMs(c.script), c.totalSeconds * 1000u);
    }
}

TEST(SpeechScripts, OnlyFirstKillLinesBanditoWaitsAfterItsLastLine) {
    for (const NamedScript& script : everyScript) {
        SCOPED_TRACE(script.name);
        EXPECT_EQ(script.steps.back().waitAfterMs.has_value(),
                  std::string(script.name) == "firstKillLinesBandito");
        for (std::size_t i = 0; i + 1 < script.steps.size(); ++i) {
            EXPECT_TRUE(script.steps[i].waitAfterMs.has_value()) << "every other step waits";
        }
    }
}

TEST(SpeechScripts, TheShorterWaitsStandWhereTheyBelong) {
    const auto waits = [](Script script) {
        std::vector<std::optional<std::uint32_t>> all;
        for (const SpeechStep& step : script) all.push_back(step.waitAfterMs);
        return all;
    };
    using Waits = std::vector<std::optional<std::uint32_t>>;
    EXPECT_EQ(waits(approachTauntSwamp), (Waits{4000, 4000, 4000, 4000, 3000, std::nullopt}));
    EXPECT_EQ(waits(closingLinesExConfederate), (Waits{5000, 5000, 5000, std::nullopt}))
        << "COUGH_SICK_MEDIUM is followed by a wait and one more line here";
    EXPECT_EQ(std::string(closingLinesExConfederate[2].lineName), "COUGH_SICK_MEDIUM");
}

TEST(SpeechScripts, EveryPairOtherThanOneTwoIsADocumentedOne) {
    const std::map<std::string, Pair> documented = {
        {"RE_KD_UNI_V1_ILO_ANTAGONIZE", {1, 5}},
        {"PLAYER_MELEE_MULTIPLE_NEG", {1, 11}},
        {"PLAYER_MELEE_MULTIPLE_POS", {1, 11}},
        {"PLAYER_TAUNT_MULTIPLE_ENEMIES_NEG_FAR", {1, 11}},
        {"WON_FIGHT_BANDITOS_LOWH", {1, 5}},
        {"WON_FIGHT_INBRED_DOM", {1, 5}},
        {"WON_FIGHT_INBRED", {1, 6}},
        {"COUGH_SICK_MEDIUM", {1, 11}},
        {"COUGH_SICK_SMALL", {1, 1}},
        {"MINIGAME_PLAYER_CAMP_CHAT_SHADY_BELLE_CUSTOM", {2, 5}},
    };
    std::map<std::string, Pair> found;
    for (const NamedScript& script : everyScript) {
        for (const SpeechStep& step : script.steps) {
            const Pair pair{step.lowerBound, step.upperBound};
            if (pair != Pair{1, 2}) found[step.lineName] = pair;
        }
    }
    EXPECT_EQ(found, documented);
}

TEST(SpeechScripts, ALineSharedBetweenScriptsHasTheSamePairInEach) {
    std::map<std::string, std::pair<Pair, const char*>> firstSeen;
    std::size_t sharedOccurrences = 0;
    for (const NamedScript& script : everyScript) {
        for (const SpeechStep& step : script.steps) {
            const Pair pair{step.lowerBound, step.upperBound};
            const auto [it, isNew] = firstSeen.try_emplace(step.lineName, pair, script.name);
            if (isNew) continue;
            ++sharedOccurrences;
            EXPECT_EQ(it->second.first, pair)
                << step.lineName << " in " << script.name << " and " << it->second.second;
        }
    }
    // Repeats: CONFRONT_B 2, KILL_D 2, PLY_SHIT 1, THREATEN_B 1, KD_UNI 1, AGGRO_CALLOUT 1,
    // CAUGHT_NEG 1, ANT_FEUD 1, POST_SHIT 2, COUGH_SICK_MEDIUM 3, V3_PLYFINAL_FIRST 1,
    // V1_PLYFINAL 1, PLYFINAL_FEUD 1.
    EXPECT_EQ(sharedOccurrences, 18u);
}

}  // namespace
