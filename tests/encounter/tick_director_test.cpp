#include "encounter/tick_director.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "data/gang_profiles.h"
#include "data/hideouts.h"
#include "data/squad_formation.h"
#include "encounter/respawn_cooldown.h"
#include "natives/slot.h"
#include "speech/approach_taunts.h"
#include "tests/support/encounter_fixture.h"

namespace {

using namespace encounter_testing;
using Names = std::vector<std::string>;

class TickDirectorTest : public EncounterTest {};

constexpr std::size_t hideoutCount = 87;
constexpr Vector3 farFromEverything{0.0f, 0.0f, 0.0f};
// Duster point 12 has integral y and z, so a player straight above it is at an exact distance.
constexpr Vector3 duster12 = dusterHideouts[11];
constexpr Vector3 swamp1 = swampHideouts[0];

Vector3 above(Vector3 point, float height) {
    return {point.x, point.y, height};
}

Names withDistances(Names names, std::size_t count) {
    names.insert(names.end(), count, "distanceBetween");
    return names;
}

std::size_t countOf(const Names& names, const std::string& name) {
    return static_cast<std::size_t>(std::count(names.begin(), names.end(), name));
}

TEST_F(TickDirectorTest, TickCallsItsNativesInTheGivenOrder) {
    struct Case {
        const char* what;
        std::function<void()> arrange;
        Names expected;
    };
    const Case cases[] = {
        {"nothing near, no squad: both positions taken, all 87 points measured",
         [] { sim::placePlayer(farFromEverything); },
         withDistances(
             {"tickGate", "playerPed", "entityCoords", "clockHours", "clockMinutes", "playerIndex",
              "isPlayerDead", "playerPed", "entityCoords", "playerPed", "entityCoords"},
             hideoutCount)},
        {"encounter active: far cull, then the fight-over check ends the tick",
         [] {
             addMember("g_m_m_uniswamp_01", {10.0f, 0.0f, 0.0f});
             encounterState.encounterActive = true;
         },
         {"tickGate", "playerPed", "entityCoords", "isEntityDead", "clockHours", "clockMinutes",
          "playerIndex", "isPlayerDead", "playerPed", "entityCoords", "entityCoords",
          "distanceBetween", "isEntityDead"}},
        {"player dead: roster emptied, then the lists are walked",
         [] {
             addMember("g_m_m_uniswamp_01", {10.0f, 0.0f, 0.0f});
             encounterState.encounterActive = true;
             sim::setPlayerDead(true);
         },
         withDistances(
             {"tickGate", "playerPed", "entityCoords", "isEntityDead", "clockHours", "clockMinutes",
              "playerIndex", "isPlayerDead", "deleteEntity", "playerPed", "entityCoords"},
             hideoutCount)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        resetEncounter();
        c.arrange();
        sim::clearCalls();
        tick();
        EXPECT_EQ(callNames(), c.expected);
    }
}

TEST_F(TickDirectorTest, AGatedTickCallsOnlyTheGateAndChangesNothing) {
    const Ped member = addMember("g_m_m_uniswamp_01", {500.0f, 0.0f, 0.0f}, /*dead=*/true);
    encounterState.encounterActive = true;
    sim::setPlayerDead(true);
    sim::setGate(true);
    sim::clearCalls();

    tick();

    EXPECT_EQ(callNames(), Names{"tickGate"});
    EXPECT_EQ(rosterPeds(), std::vector<Ped>{member});
    EXPECT_TRUE(encounterState.encounterActive);
}

TEST_F(TickDirectorTest, AHideoutMatchesOnlyStrictlyWithinTriggerDistance) {
    struct Case {
        float playerHeight;
        bool spawns;
    };
    const float exactlyFifty = duster12.z + triggerDistance;
    ASSERT_EQ(exactlyFifty - duster12.z, 50.0f);
    const Case cases[] = {
        {exactlyFifty, false},
        {std::nextafter(exactlyFifty, 0.0f), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.playerHeight);
        resetEncounter();
        sim::placePlayer(above(duster12, c.playerHeight));
        tick();
        EXPECT_EQ(callsNamed("createPed").size(), c.spawns ? 7u : 0u);
        EXPECT_EQ(encounterState.encounterActive, c.spawns);
        // Beyond the trigger distance the point is not even offered its taunt.
        EXPECT_EQ(sim::speeches().empty(), !c.spawns);
    }
}

TEST_F(TickDirectorTest, FarCullRemovesLivingMembersStrictlyBeyond150MetresAndKeepsTheRestInOrder) {
    sim::placePlayer(farFromEverything);
    const Ped near = addMember("g_m_m_uniinbred_01", {0.0f, 0.0f, 10.0f});
    const Ped farA = addMember("g_m_m_uniinbred_01", {0.0f, 0.0f, 200.0f});
    const Ped farB = addMember("g_m_m_uniinbred_01", {0.0f, 0.0f, -200.0f});
    const Ped atLimit = addMember("g_m_m_uniinbred_01", {0.0f, 0.0f, farCullDistance});
    const Ped justBeyond =
        addMember("g_m_m_uniinbred_01", {0.0f, std::nextafter(farCullDistance, 1000.0f), 0.0f});
    encounterState.encounterActive = true;
    sim::clearCalls();

    tick();

    // Two neighbours both go: the position is not advanced after a removal.
    EXPECT_EQ(deletedHandles(),
              (Names{handleJson(farA), handleJson(farB), handleJson(justBeyond)}));
    EXPECT_EQ(rosterPeds(), (std::vector<Ped>{near, atLimit}));
}

TEST_F(TickDirectorTest, ThePlayersDeathDeletesEveryMemberOldestFirstAndASquadMaySpawnAtTheBody) {
    sim::placePlayer(above(duster12, duster12.z + 10.0f));
    const Ped first = addMember("g_m_m_uniinbred_01", {duster12.x, duster12.y, 300.0f});
    const Ped second = addMember("g_m_m_uniinbred_01", {duster12.x, duster12.y, 90.0f}, true);
    const Ped third = addMember("g_m_m_uniinbred_01", {duster12.x, duster12.y, 95.0f});
    encounterState.encounterActive = true;
    sim::setPlayerDead(true);
    sim::clearCalls();

    tick();

    EXPECT_EQ(deletedHandles(), (Names{handleJson(first), handleJson(second), handleJson(third)}));
    EXPECT_LT(callsNamed("deleteEntity").back()->frame, callsNamed("createPed").front()->frame);
    EXPECT_EQ(encounterState.gangRoster.size(), static_cast<std::size_t>(squadSize));
    EXPECT_TRUE(encounterState.encounterActive);
    EXPECT_TRUE(visitedFlag(encounterState.visitRegistry, duster12));
}

TEST_F(TickDirectorTest, ThePlayersDeathEndsTheEncounterButKeepsVisitedFlagsAndTheTaunt) {
    sim::placePlayer(farFromEverything);
    encounterState.encounterActive = true;
    encounterState.tauntDone = true;
    visitedFlag(encounterState.visitRegistry, swamp1) = true;
    sim::setPlayerDead(true);
    sim::clearCalls();

    tick();

    EXPECT_TRUE(callsNamed("deleteEntity").empty());
    EXPECT_FALSE(encounterState.encounterActive);
    EXPECT_TRUE(encounterState.tauntDone);
    EXPECT_TRUE(visitedFlag(encounterState.visitRegistry, swamp1));
}

TEST_F(TickDirectorTest, AnActiveEncounterKeepsAnUnvisitedHideoutNearbyFromSpawningOrTaunting) {
    sim::placePlayer(above(swamp1, swamp1.z + 20.0f));
    encounterState.encounterActive = true;
    sim::clearCalls();

    tick();

    EXPECT_TRUE(callsNamed("createPed").empty());
    EXPECT_TRUE(sim::speeches().empty());
    EXPECT_TRUE(encounterState.visitRegistry.entries.empty())
        << "the registry is not asked during an encounter";
}

TEST_F(TickDirectorTest, OnlyTheFirstPointOfAListInReachIsMatchedAndNoLaterPointIsMeasured) {
    // Mountain-man points 16 and 17 lie 37 m apart: their midpoint is within reach of both.
    const Vector3 first = mountainManHideouts[15];
    const Vector3 second = mountainManHideouts[16];
    sim::placePlayer(
        {(first.x + second.x) / 2, (first.y + second.y) / 2, (first.z + second.z) / 2});
    sim::clearCalls();

    tick();

    const auto creates = callsNamed("createPed");
    ASSERT_EQ(creates.size(), 7u);
    const Vector3 slot1 = memberPosition(first, 1);
    EXPECT_EQ(creates[0]->slots[1], floatSlot(slot1.x));
    EXPECT_EQ(creates[0]->slots[2], floatSlot(slot1.y));
    EXPECT_TRUE(visitedFlag(encounterState.visitRegistry, first));
    EXPECT_EQ(encounterState.visitRegistry.entries.size(), 1u) << "only the match was looked up";
    // The walk stops at point 16 of the mountain-man list: 38 + 9 + 2 + 12 + 16 + 9, plus the
    // taunt's one measurement.
    EXPECT_EQ(countOf(callNames(), "distanceBetween"), 86u + 1u);
}

TEST_F(TickDirectorTest, TheListsAreWalkedInProfileOrderFromOnePlayerPosition) {
    const Vector3 player{1.0f, 2.0f, 3.0f};
    sim::placePlayer(player);
    sim::clearCalls();

    tick();

    std::vector<Vector3> expected;
    for (const GangProfile& profile : gangProfiles) {
        expected.insert(expected.end(), profile.hideouts.begin(), profile.hideouts.end());
    }
    const auto measured = callsNamed("distanceBetween");
    ASSERT_EQ(measured.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        const auto& slots = measured[i]->slots;
        EXPECT_EQ(slots[0], floatSlot(player.x));
        EXPECT_EQ(slots[1], floatSlot(player.y));
        EXPECT_EQ(slots[2], floatSlot(player.z));
        EXPECT_EQ(slots[3], floatSlot(expected[i].x));
        EXPECT_EQ(slots[4], floatSlot(expected[i].y));
        EXPECT_EQ(slots[5], floatSlot(expected[i].z));
    }
}

TEST_F(TickDirectorTest, ASpawnMarksThePointVisitedTheEncounterActiveAndStampsTheClockAfterIt) {
    sim::placePlayer(swamp1);
    sim::clearCalls();

    tick();

    EXPECT_EQ(encounterState.gangRoster.size(), static_cast<std::size_t>(squadSize));
    EXPECT_TRUE(encounterState.encounterActive);
    EXPECT_TRUE(visitedFlag(encounterState.visitRegistry, swamp1));
    // The stamp is read after the squad's waits, so it is the clock at the end of the spawn.
    const auto hours = callsNamed("clockHours");
    const auto minutes = callsNamed("clockMinutes");
    ASSERT_EQ(minutes.size(), 2u) << "once by the re-arm test, once for the stamp";
    EXPECT_GT(minutes[1]->frame, callsNamed("createPed").back()->frame);
    EXPECT_EQ(std::to_string(encounterState.spawnStamp.hours), sim::resultJson(*hours[1]));
    EXPECT_EQ(std::to_string(encounterState.spawnStamp.minutes), sim::resultJson(*minutes[1]));
    EXPECT_NE(encounterState.spawnStamp.minutes, 0) << "the squad's seven seconds moved the clock";
    EXPECT_TRUE(callsNamed("clockDayOfMonth").empty()) << "a 6-hour build needs no date";
    // Then the taunt, right after the spawn.
    const Names lines = spokenLines();
    const Names taunt = linesOf(approachTauntSwamp);
    ASSERT_GE(lines.size(), taunt.size());
    EXPECT_EQ(Names(lines.end() - static_cast<std::ptrdiff_t>(taunt.size()), lines.end()), taunt);
    EXPECT_TRUE(encounterState.tauntDone);
}

TEST_F(TickDirectorTest, AVisitedPointWithNoEncounterSpawnsNothingButStillGetsItsTaunt) {
    sim::placePlayer(swamp1);
    visitedFlag(encounterState.visitRegistry, swamp1) = true;
    sim::clearCalls();

    tick();

    EXPECT_TRUE(callsNamed("createPed").empty());
    EXPECT_FALSE(encounterState.encounterActive);
    EXPECT_EQ(spokenLines(), linesOf(approachTauntSwamp));
}

TEST_F(TickDirectorTest, AReArmWhileTheSquadLivesSpawnsASecondSquadAtTheSamePoint) {
    sim::placePlayer(swamp1);
    tick();
    ASSERT_TRUE(encounterState.encounterActive);
    const std::vector<Ped> firstSquad = rosterPeds();
    std::vector<std::vector<std::uint64_t>> firstPlaces;
    for (const sim::CallRecord* create : callsNamed("createPed"))
        firstPlaces.push_back(slotsOf(*create));

    sim::advanceClock(RespawnCooldown);
    sim::clearCalls();
    tick();

    const auto creates = callsNamed("createPed");
    ASSERT_EQ(creates.size(), static_cast<std::size_t>(squadSize));
    std::vector<Ped> secondSquad;
    for (std::size_t i = 0; i < creates.size(); ++i) {
        EXPECT_EQ(slotsOf(*creates[i]), firstPlaces[i]) << "same point, same formation";
        secondSquad.push_back(static_cast<Ped>(std::stoi(sim::resultJson(*creates[i]))));
    }
    std::vector<Ped> bothSquads = firstSquad;
    bothSquads.insert(bothSquads.end(), secondSquad.begin(), secondSquad.end());
    EXPECT_EQ(rosterPeds(), bothSquads);
    EXPECT_TRUE(encounterState.encounterActive);
}

// A model the game never serves used to keep the fibre polling for ever. Now the spawn gives up
// after a bounded wait, and the point stays armed.
TEST_F(TickDirectorTest, AModelThatNeverLoadsSpawnsNobodyAndLeavesThePointArmed) {
    sim::setModelNeverLoads("g_m_m_uniswamp_01");
    sim::placePlayer(swamp1);
    sim::clearCalls();

    tick();

    EXPECT_TRUE(callsNamed("createPed").empty());
    EXPECT_TRUE(encounterState.gangRoster.empty());
    EXPECT_FALSE(encounterState.encounterActive);
    EXPECT_FALSE(encounterState.spawnStamped);
    EXPECT_FALSE(visitedFlag(encounterState.visitRegistry, swamp1));
}

std::vector<std::string> playerLines() {
    std::vector<std::string> lines;
    for (const sim::SpeechRecord& speech : sim::speeches()) {
        if (speech.speaker == sim::playerPedHandleValue) lines.push_back(speech.line);
    }
    return lines;
}

// A squad whose model never loaded used to spend the taunt: the first squad that did spawn came
// without one.
TEST_F(TickDirectorTest, ASquadThatCouldNotBeCreatedLeavesTheTauntToTheFirstSquadThatSpawns) {
    sim::setModelNeverLoads("g_m_m_uniswamp_01");
    sim::placePlayer(swamp1);
    tick();
    EXPECT_TRUE(sim::speeches().empty());
    EXPECT_FALSE(encounterState.tauntDone);

    sim::placePlayer(duster12);
    tick();
    EXPECT_EQ(encounterState.gangRoster.size(), static_cast<std::size_t>(squadSize));
    EXPECT_EQ(playerLines(), linesOf(approachTauntDuster));
    EXPECT_TRUE(encounterState.tauntDone);
}

// Each tick used to try the point again, holding the plug-in for another model wait while the
// player stayed near.
TEST_F(TickDirectorTest, AFailedPointIsTriedAgainOnlyOnceThePlayerCameBackOrAnHourPassed) {
    struct Case {
        const char* what;
        std::function<void()> between;
        bool triesAgain;
    };
    const Case cases[] = {
        {"the player stays", [] {}, false},
        {"59 game minutes later", [] { sim::advanceClock(59); }, false},
        {"an hour later", [] { sim::advanceClock(failedSpawnRetryMinutes); }, true},
        {"the player left and came back",
         [] {
             sim::placePlayer(farFromEverything);
             tick();
             sim::placePlayer(swamp1);
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        resetEncounter();
        sim::setModelNeverLoads("g_m_m_uniswamp_01");
        sim::placePlayer(swamp1);
        tick();
        ASSERT_EQ(callsNamed("requestModel").size(), 1u);
        c.between();
        sim::clearCalls();

        tick();

        EXPECT_EQ(callsNamed("requestModel").size(), c.triesAgain ? 1u : 0u);
        EXPECT_TRUE(sim::speeches().empty());
    }
}

}  // namespace
