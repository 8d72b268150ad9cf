#include "encounter/fight_aftermath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "encounter/respawn_cooldown.h"
#include "encounter/tick_director.h"
#include "speech/aftermath_scripts.h"
#include "tests/support/encounter_fixture.h"

namespace {

using namespace encounter_testing;
using Names = std::vector<std::string>;

class FightAftermathTest : public EncounterTest {};

constexpr const char* bandito = "g_m_m_unibanditos_01";
constexpr const char* inbred = "g_m_m_uniinbred_01";
constexpr const char* exConfederate = "g_m_y_uniexconfeds_01";
constexpr const char* swamp = "g_m_m_uniswamp_01";
constexpr const char* mountainMan = "g_m_m_unimountainmen_01";

TEST_F(FightAftermathTest, ScriptsFollowTheModelInTheFixedOrderWithDefaultForAnyOtherModel) {
    struct Case {
        const char* model;
        std::span<const SpeechStep> firstKill;
        std::span<const SpeechStep> closing;
        Names namesAsked;
    };
    const Names allFive = {bandito, inbred, exConfederate, swamp, mountainMan};
    const Case cases[] = {
        {bandito, firstKillLinesBandito, closingLinesBandito, {bandito}},
        {inbred, firstKillLinesInbred, closingLinesInbred, {bandito, inbred}},
        {exConfederate,
         firstKillLinesExConfederate,
         closingLinesExConfederate,
         {bandito, inbred, exConfederate}},
        {swamp, firstKillLinesSwamp, closingLinesSwamp, {bandito, inbred, exConfederate, swamp}},
        {mountainMan, firstKillLinesMountainMan, closingLinesMountainMan, allFive},
        {"g_m_m_uniduster_01", firstKillLinesDefault, closingLinesDefault, allFive},
        {"G_M_M_UNIDUSTER_02", firstKillLinesDefault, closingLinesDefault, allFive},
        {"player_zero", firstKillLinesDefault, closingLinesDefault, allFive},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        sim::clearCalls();
        const AftermathScripts scripts = aftermathScriptsFor(sim::gameHash(c.model));
        EXPECT_EQ(scripts.firstKill.data(), c.firstKill.data());
        EXPECT_EQ(scripts.closing.data(), c.closing.data());
        Names asked;
        for (const sim::CallRecord* call : callsNamed("hashOfString")) {
            const std::string args = sim::argsJson(*call);
            asked.push_back(args.substr(2, args.size() - 4));
        }
        EXPECT_EQ(asked, c.namesAsked);
    }
}

TEST_F(FightAftermathTest, OnlyDeadMembersStrictlyBeyond100MetresAreCleared) {
    sim::placePlayer({0.0f, 0.0f, 0.0f});
    const Ped deadAtLimit = addMember(inbred, {0.0f, 100.0f, 0.0f}, true);
    const Ped deadBeyond = addMember(inbred, {0.0f, std::nextafter(100.0f, 200.0f), 0.0f}, true);
    const Ped aliveFar = addMember(inbred, {0.0f, 0.0f, 500.0f});
    const Ped deadNear = addMember(inbred, {5.0f, 0.0f, 0.0f}, true);
    sim::clearCalls();

    cullFarDeadMembers();

    EXPECT_EQ(deletedHandles(), Names{handleJson(deadBeyond)});
    EXPECT_EQ(rosterPeds(), (std::vector<Ped>{deadAtLimit, aliveFar, deadNear}));
    EXPECT_EQ(spokenLines(), linesOf(firstKillLinesInbred));
    EXPECT_TRUE(encounterState.firstKillHandled);
}

TEST_F(FightAftermathTest, OnlyTheFirstClearedMemberStartsAScriptAndThePassKeepsItsPlayerPosition) {
    sim::placePlayer({0.0f, 0.0f, 0.0f});
    const Ped near = addMember(swamp, {0.0f, 0.0f, 20.0f});
    const Ped first = addMember(mountainMan, {0.0f, 300.0f, 0.0f}, true);
    const Ped second = addMember(inbred, {0.0f, 400.0f, 0.0f}, true);
    // While the first script plays the player walks up to the second body; the pass still measures
    // from where the player stood when it began.
    sim::scheduleAt(sim::currentTimeMs() + 1000, [] { sim::placePlayer({0.0f, 395.0f, 0.0f}); });
    sim::clearCalls();

    cullFarDeadMembers();

    EXPECT_EQ(deletedHandles(), (Names{handleJson(first), handleJson(second)}));
    EXPECT_EQ(rosterPeds(), std::vector<Ped>{near});
    EXPECT_EQ(spokenLines(), linesOf(firstKillLinesMountainMan)) << "the removed member's model";
    const Names names = callNames();
    const auto secondDelete = std::find(names.rbegin(), names.rend(), "deleteEntity");
    const auto lastLine = std::find(names.rbegin(), names.rend(), "playAmbientSpeech");
    EXPECT_LT(secondDelete, lastLine) << "the second body goes after the script has returned";

    const Ped later = addMember(bandito, {0.0f, 900.0f, 0.0f}, true);
    sim::clearCalls();
    cullFarDeadMembers();
    EXPECT_EQ(deletedHandles(), Names{handleJson(later)});
    EXPECT_EQ(spokenLines().size(), linesOf(firstKillLinesMountainMan).size())
        << "later removals are silent until the re-arm";
}

TEST_F(FightAftermathTest, TheFirstKillScriptFollowsTheLastEntrysOwnModel) {
    sim::placePlayer({0.0f, 0.0f, 0.0f});
    addMember(inbred, {0.0f, 0.0f, 20.0f});
    addMember(swamp, {0.0f, 300.0f, 0.0f}, true);

    cullFarDeadMembers();

    EXPECT_EQ(spokenLines(), linesOf(firstKillLinesSwamp));
}

TEST_F(FightAftermathTest, ClosingLinesNeedEveryRecordedMemberDeadAndFollowTheOldest) {
    struct Case {
        const char* what;
        std::function<void()> arrange;
        std::size_t deathQueries;
        Names lines;
    };
    const Case cases[] = {
        {"empty roster", [] {}, 0, {}},
        {"two squads, all dead: the oldest member's gang",
         [] {
             addMember(exConfederate, {0.0f, 0.0f, 10.0f}, true);
             addMember(swamp, {0.0f, 0.0f, 20.0f}, true);
             addMember(swamp, {0.0f, 0.0f, 30.0f}, true);
         },
         3 + 1, linesOf(closingLinesExConfederate)},
        {"one alive: the search stops there",
         [] {
             addMember(inbred, {0.0f, 0.0f, 10.0f}, true);
             addMember(inbred, {0.0f, 0.0f, 20.0f});
             addMember(inbred, {0.0f, 0.0f, 30.0f}, true);
         },
         2,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        resetEncounter();
        c.arrange();
        sim::clearCalls();

        checkFightOver();

        // entityModel of entry 0 is the last query when the closing lines play.
        EXPECT_EQ(callsNamed("isEntityDead").size() + callsNamed("entityModel").size(),
                  c.deathQueries);
        EXPECT_EQ(spokenLines(), c.lines);
        EXPECT_EQ(encounterState.fightOverHandled, !c.lines.empty());
    }
}

TEST_F(FightAftermathTest, ClosingLinesPlayOnceUntilTheReArm) {
    addMember(inbred, {0.0f, 0.0f, 10.0f}, true);
    checkFightOver();
    const std::size_t linesSoFar = sim::speeches().size();
    sim::clearCalls();

    checkFightOver();

    EXPECT_EQ(callNames(), Names{});
    EXPECT_EQ(sim::speeches().size(), linesSoFar);
}

// The re-arm repeated at every tick once the cooldown was reached, so a player standing by the
// bodies of a finished fight heard the closing lines again every few seconds.
TEST_F(FightAftermathTest, AfterTheReArmTheClosingLinesOverOldBodiesPlayOnceNotEveryTick) {
    sim::placePlayer({0.0f, 0.0f, 0.0f});
    addMember(inbred, {0.0f, 0.0f, 10.0f}, true);
    addMember(inbred, {0.0f, 0.0f, 20.0f}, true);
    takeSpawnStamp(RespawnCooldown);
    encounterState.encounterActive = true;
    encounterState.fightOverHandled = true;
    encounterState.firstKillHandled = true;
    sim::advanceClock(RespawnCooldown);

    for (int ticks = 0; ticks < 3; ++ticks) tick();

    EXPECT_EQ(spokenLines(), linesOf(closingLinesInbred));
}

}  // namespace
