// The simulated game's invariant checks: each rule stops a plug-in that breaks it, with the frame,
// the rule and the ped or point in the message, and lets through what the plug-in may do
// (a re-arm, the player's death, a pool that refuses, a handle of 0).
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/squad_formation.h"
#include "native_calls.h"
#include "sim/control.h"
#include "sim/invariants.h"

namespace {

using namespace simtest;

const Hash dusterModel = sim::gameHash("g_m_m_uniduster_01");
const Vector3 duster4 = dusterHideouts[3];
const Vector3 duster1 = dusterHideouts[0];

// The roster and registry a plug-in would report; tests fill them.
std::vector<Ped> reportedRoster;
std::size_t reportedRegistry = 0;

void reportFootprint(Ped* roster, std::size_t capacity, std::size_t* rosterSize,
                     std::size_t* registryEntries) {
    for (std::size_t i = 0; i < reportedRoster.size() && i < capacity; ++i)
        roster[i] = reportedRoster[i];
    *rosterSize = reportedRoster.size();
    *registryEntries = reportedRegistry;
}

void gate() {
    callNative(native::tickGate);
}
void readClock() {
    callNative(native::clockMinutes);
}
bool playerDead() {
    return slotBool(callNative(native::isPlayerDead, intSlot(0))[0]);
}

void say(Ped speaker, const char* line) {
    const char* voice = "";
    const std::uint64_t request[8] = {pointerSlot(line), pointerSlot(voice), 1, 0, 0, 0, 0, 0};
    callNative(native::playAmbientSpeech, intSlot(speaker), pointerSlot(request));
}

class Invariants : public ::testing::Test {
protected:
    void SetUp() override {
        sim::WorldOptions options;
        options.checkInvariants = true;
        options.cooldownMinutes = 360;
        sim::resetWorld(options);
        sim::setFootprintProbe(reportFootprint);
        reportedRoster.clear();
        reportedRegistry = 0;
        requestModel(dusterModel);
        sim::runFrames(2);
    }

    // One tick that sees the player at `player` and creates a squad of `members` in formation
    // around `point`, each recorded as the plug-in records them; then the clock stamp.
    static std::vector<Ped> squadTick(Vector3 player, Vector3 point, int members = squadSize) {
        sim::placePlayer(player);
        gate();
        coordsOf(sim::playerPedHandle());
        std::vector<Ped> created;
        for (int slot = 0; slot < members; ++slot) {
            const Vector3& offset = squadFormation[static_cast<std::size_t>(slot % squadSize)];
            created.push_back(createPedAt(
                dusterModel, {point.x + offset.x, point.y + offset.y, point.z + offset.z}));
            reportedRoster.push_back(created.back());
        }
        readClock();
        return created;
    }
};

void expectBroken(const std::function<void()>& act, const std::string& message) {
    try {
        act();
        ADD_FAILURE() << "no invariant broken, wanted: " << message;
    } catch (const sim::HostError& error) {
        EXPECT_NE(std::string(error.what()).find(message), std::string::npos)
            << "wanted: " << message << "\ngot: " << error.what();
    }
}

TEST_F(Invariants, DeletingWhatThePlugInDoesNotOwnStopsTheRun) {
    const std::vector<Ped> squad = squadTick(duster4, duster4);
    Ped player = sim::playerPedHandle();
    expectBroken([&] { deleteEntity(&player); },
                 "at frame 2: own peds: deleteEntity of ped 1, the player's");
    sim::newPlayerPed();
    Ped formerPlayer = 1;
    expectBroken([&] { deleteEntity(&formerPlayer); },
                 "own peds: deleteEntity of ped 1, the player's");
    Ped stranger = 4242;
    expectBroken([&] { deleteEntity(&stranger); },
                 "own peds: deleteEntity of ped 4242, which the plug-in never created");
    Ped member = squad[2];
    deleteEntity(&member);
    member = squad[2];
    expectBroken([&] { deleteEntity(&member); }, "own peds: deleteEntity of ped 103 a second time");
}

TEST_F(Invariants, ASquadOutOfReachOutOfFormationOrASecondInOneTickStopsTheRun) {
    expectBroken(
        [] {
            squadTick({0.0f, 0.0f, 0.0f}, duster4);
        },
        "in reach: a squad spawns at hideout 4 of gang list 1");
    sim::resetWorld({.checkInvariants = true, .cooldownMinutes = 360});
    requestModel(dusterModel);
    sim::runFrames(2);
    expectBroken(
        [] {
            squadTick(duster4, {duster4.x + 1.0f, duster4.y, duster4.z});
        },
        "in formation at no hideout point");
    sim::resetWorld({.checkInvariants = true, .cooldownMinutes = 360});
    requestModel(dusterModel);
    sim::runFrames(2);
    expectBroken([] { squadTick(duster4, duster4, 2 * squadSize); }, "one squad per tick");
}

TEST_F(Invariants, ASquadWhileTheEncounterRunsOrAtAVisitedPointStopsTheRun) {
    squadTick(duster4, duster4);
    expectBroken([] { squadTick(duster1, duster1); }, "while an encounter runs");

    sim::resetWorld({.checkInvariants = true, .cooldownMinutes = 360});
    requestModel(dusterModel);
    sim::runFrames(2);
    squadTick(duster4, duster4);
    sim::setPlayerDead(true);
    EXPECT_TRUE(playerDead());
    expectBroken([] { squadTick(duster4, duster4); }, "visited since the last re-arm");
}

TEST_F(Invariants, TheDeathOrTheReArmAllowsTheNextSquad) {
    squadTick(duster4, duster4);
    sim::setPlayerDead(true);
    playerDead();
    squadTick(duster1, duster1);  // another point, after the death
    sim::advanceClock(359);
    gate();
    readClock();
    expectBroken([] { squadTick(duster4, duster4); }, "while an encounter runs");
    sim::advanceClock(1);
    gate();
    readClock();  // the re-arm test of a tick
    squadTick(duster4, duster4);
}

TEST_F(Invariants, OnlyCompiledInLinesFromThePlayerOrAMember) {
    const std::vector<Ped> squad = squadTick(duster4, duster4);
    say(sim::playerPedHandle(), "RE_KT_NBX_V2_POST_SHIT");
    say(squad[0], "SPOTTED_MALE");
    say(0, "SPOTTED_MALE");  // a member the pool refused: nobody speaks
    expectBroken([] { say(sim::playerPedHandle(), "HELLO_THERE"); },
                 "lines: ped 1 says \"HELLO_THERE\", which is no compiled-in line");
    expectBroken(
        [] { say(4242, "SPOTTED_MALE"); },
        "lines: ped 4242 says \"SPOTTED_MALE\" but is neither the player nor a squad member");
    EXPECT_EQ(sim::runCounts().linesSaid, 5);
}

TEST_F(Invariants, APoolThatRefusesIsNoFaultOfThePlugIn) {
    sim::setPedPoolCap(3);
    std::vector<Ped> squad = squadTick(duster4, duster4);
    EXPECT_EQ(squad[3], 0);
    for (Ped& member : squad) deleteEntity(&member);
    reportedRoster.clear();
    sim::runFrames(2);
    EXPECT_EQ(sim::runCounts().membersCreated, 3);
    EXPECT_EQ(sim::runCounts().membersDeleted, 3);
    EXPECT_EQ(sim::runCounts().squads, 1);
}

TEST_F(Invariants, APedLostFromTheRosterOrAnOverlongRosterOrRegistryStopsTheRunBetweenFrames) {
    const std::vector<Ped> squad = squadTick(duster4, duster4);
    sim::runFrames(3);  // members created in the tick under way may be ahead of the roster
    gate();
    reportedRoster.erase(reportedRoster.begin() + 4);
    expectBroken([] { sim::runFrames(1); },
                 "no leak: ped 105 is in the world but no longer in the plug-in's roster");
    reportedRoster.insert(reportedRoster.begin() + 4, squad[4]);
    reportedRoster.push_back(squad[0]);
    expectBroken([] { sim::runFrames(1); },
                 "bounded memory: the roster holds 8 entries, more than the 7");
    reportedRoster.pop_back();
    reportedRegistry = 88;
    expectBroken([] { sim::runFrames(1); },
                 "bounded memory: 88 visit registry entries, more than the 87 hideout points");
    reportedRegistry = 87;
    sim::vanishPed(squad[1]);  // gone by the game's hand: it may stay in the roster
    sim::runFrames(1);
}

}  // namespace
