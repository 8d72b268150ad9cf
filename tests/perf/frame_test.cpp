// What one frame costs the simulated game: exactly the native calls the tick's steps need, and,
// with tracing off, no allocation at all.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "counting_allocator.h"
#include "data/gang_profiles.h"
#include "data/squad_formation.h"
#include "encounter/tick_director.h"
#include "plugin/script_loop.h"
#include "sim/script_fibre.h"
#include "tests/support/encounter_fixture.h"

namespace {

using encounter_testing::callNames;
using Names = std::vector<std::string>;

std::size_t hideoutPointCount() {
    std::size_t count = 0;
    for (const GangProfile& profile : gangProfiles) count += profile.hideouts.size();
    return count;
}

void append(Names& names, const Names& more, std::size_t times = 1) {
    for (std::size_t i = 0; i < times; ++i) names.insert(names.end(), more.begin(), more.end());
}

// The steps every frame shares, up to the walk: the gate; the dead-member cull, which reads the
// player's position and then asks after each member; the re-arm test's clock; the player's state.
Names stepsBeforeTheWalk(std::size_t members) {
    Names names{"tickGate", "playerPed", "entityCoords"};
    append(names, {"isEntityDead"}, members);
    append(names, {"clockHours", "clockMinutes", "playerIndex", "isPlayerDead"});
    return names;
}

const Vector3 duster4 = dusterHideouts[3];

class FrameCalls : public encounter_testing::EncounterTest {};

TEST_F(FrameCalls, AnIdleFrameMakesTheCallsOfItsStepsAndNothingMore) {
    tick();
    Names expected = stepsBeforeTheWalk(0);
    append(expected, {"playerPed", "entityCoords"});  // the far cull: the player's position
    append(expected, {"playerPed", "entityCoords"});  // the walk: the player's position
    append(expected, {"distanceBetween"}, hideoutPointCount());
    EXPECT_EQ(callNames(), expected);
}

TEST_F(FrameCalls, AnEncounterFrameMakesTheCallsOfItsStepsAndNothingMore) {
    sim::placePlayer({duster4.x, duster4.y - 40.0f, duster4.z});
    tick();
    ASSERT_EQ(sim::livingPedCount(), squadSize);
    sim::clearCalls();
    tick();
    Names expected = stepsBeforeTheWalk(squadSize);
    append(expected, {"playerPed", "entityCoords"});  // the far cull: the player, then each member
    append(expected, {"entityCoords", "distanceBetween"}, squadSize);
    append(expected, {"isEntityDead"});  // the fight-over check stops at the first living member
    EXPECT_EQ(callNames(), expected);
}

// The simulator's own loop, tracing off: a frame of the fibre host, then the call log emptied.
void runFrames(int frames) {
    for (int i = 0; i < frames; ++i) {
        ASSERT_TRUE(sim::runScriptFrame()) << *sim::hostFailure();
        sim::clearCalls();
    }
}

class FrameAllocations : public ::testing::Test {
protected:
    void SetUp() override {
        encounter_testing::resetEncounter();
        sim::startFibreHost();
        scriptRegister(&moduleToken, scriptMain);
    }
    void TearDown() override { sim::stopFibreHost(); }
    int moduleToken = 0;
};

TEST_F(FrameAllocations, IdleFramesOfTheSimulatedGameAllocateNothing) {
    runFrames(2);  // the fibre is made and the call log finds its size
    EXPECT_EQ(counting_allocator::allocationsDuring([] { runFrames(300); }), 0);
}

TEST_F(FrameAllocations, FramesWithALivingSquadAllocateNothing) {
    sim::placePlayer({duster4.x, duster4.y - 40.0f, duster4.z});
    runFrames(40 * 30);  // the spawn and the whole taunt
    ASSERT_EQ(sim::livingPedCount(), squadSize);
    EXPECT_EQ(counting_allocator::allocationsDuring([] { runFrames(300); }), 0);
    EXPECT_EQ(sim::livingPedCount(), squadSize);
}

}  // namespace
