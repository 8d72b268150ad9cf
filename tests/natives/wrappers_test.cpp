#include "natives/wrappers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "natives/catalogue.h"
#include "natives/slot.h"
#include "sim/control.h"
#include "tests/support/sim_calls.h"

namespace {

using testing_calls::callNames;
using testing_calls::callsNamed;
using testing_calls::slotsOf;
using Slots = std::vector<std::uint64_t>;

class WrappersTest : public ::testing::Test {
protected:
    void SetUp() override { sim::resetWorld(); }
};

const sim::CallRecord& onlyCall(std::string_view name) {
    const auto found = callsNamed(name);
    EXPECT_EQ(found.size(), 1u) << name;
    return *found.at(0);
}

TEST_F(WrappersTest, EachWrapperPushesItsNativesSlotsInOrderWithTheFixedConstants) {
    const Hash model = sim::gameHash("g_m_m_uniswamp_01");
    taskCombat(101, 1);
    entityCoords(7);
    distanceBetween(1.0f, 2.0f, 3.0f, -4.0f, -5.0f, -6.0f);
    giveWeapon(101, 0xAABBCCDDu, 100, 0x11223344u);
    createPed(model, -1.5f, 2.0f, 41.726f);

    EXPECT_EQ(slotsOf(onlyCall("taskCombat")), (Slots{101, 1, 0, 16}));
    EXPECT_EQ(slotsOf(onlyCall("entityCoords")), (Slots{7, 1, 0}));
    EXPECT_EQ(slotsOf(onlyCall("distanceBetween")),
              (Slots{floatSlot(1.0f), floatSlot(2.0f), floatSlot(3.0f), floatSlot(-4.0f),
                     floatSlot(-5.0f), floatSlot(-6.0f), 1}));
    EXPECT_EQ(slotsOf(onlyCall("giveWeapon")),
              (Slots{101, 0xAABBCCDDu, 100, 1, 1, 1, 1, floatSlot(1.0f), floatSlot(1.0f),
                     0x11223344u, 0, 0, 1}));
    EXPECT_EQ(slotsOf(onlyCall("createPed")),
              (Slots{model, floatSlot(-1.5f), floatSlot(2.0f), floatSlot(41.726f), 0, 1, 1, 0, 0}));
}

TEST_F(WrappersTest, GiveWeaponWithoutAmmoTypeStillPushesThirteenSlotsWithZeroInTheTenth) {
    giveWeapon(101, 0xAABBCCDDu, 1, 0);
    const sim::CallRecord& call = onlyCall("giveWeapon");
    ASSERT_EQ(std::size_t{call.slotCount}, 13u);
    EXPECT_EQ(call.slots[9], 0u);
}

TEST_F(WrappersTest, PositionAndDistanceComeBackFromTheGameUnaltered) {
    sim::placePlayer({3.0f, 4.0f, -12.5f});
    const NativeVector3 at = entityCoords(sim::playerPedHandle());
    EXPECT_EQ(at.x, 3.0f);
    EXPECT_EQ(at.y, 4.0f);
    EXPECT_EQ(at.z, -12.5f);
    EXPECT_EQ(distanceBetween(0.0f, 0.0f, 0.0f, 3.0f, 4.0f, 0.0f), 5.0f);
    EXPECT_EQ(distanceBetween(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 150.0f), 150.0f);  // 3-D, not 2-D
}

TEST_F(WrappersTest, CreatePedHandsBackTheGamesHandleUnchecked) {
    const Hash model = sim::gameHash("g_m_m_uniswamp_01");
    EXPECT_EQ(createPed(model, 0.0f, 0.0f, 0.0f), 0) << "a model not resident gives no ped";
    ASSERT_TRUE(loadModel(model));
    const Ped ped = createPed(model, 1.0f, 2.0f, 3.0f);
    EXPECT_NE(ped, 0);
    EXPECT_EQ(sim::createdPeds().back(), ped);
}

// The short wrappers: one call of their own native, with the arguments in order and their fixed
// constants. A wrapper wired to the wrong native or pushing a slot too many fails here.
TEST_F(WrappersTest, EachShortWrapperCallsItsOwnNativeOnceWithItsSlots) {
    static const char name[] = "REL_GANG_ODRISCOLL";
    static Ped handle = 101;
    struct Case {
        const char* native;
        std::function<void()> call;
        Slots slots;
    };
    const Case cases[] = {
        {"hashOfString", [] { hashOfName(name); }, {pointerSlot(name)}},
        {"playerPed", [] { currentPlayerPed(); }, {}},
        {"playerIndex", [] { currentPlayerIndex(); }, {}},
        {"isPlayerDead", [] { isPlayerDead(3); }, {3}},
        {"tickGate", [] { tickGateClosed(); }, {}},
        {"clockHours", [] { clockHours(); }, {}},
        {"clockMinutes", [] { clockMinutes(); }, {}},
        {"clockDayOfMonth", [] { clockDayOfMonth(); }, {}},
        {"clockMonth", [] { clockMonth(); }, {}},
        {"clockYear", [] { clockYear(); }, {}},
        {"isEntityDead", [] { isEntityDead(101); }, {101}},
        {"entityModel", [] { entityModel(101); }, {101}},
        {"deleteEntity", [] { deleteEntity(&handle); }, {pointerSlot(&handle)}},
        {"requestModel", [] { requestModel(0xAABBCCDDu); }, {0xAABBCCDDu, 0}},
        {"hasModelLoaded", [] { hasModelLoaded(0xAABBCCDDu); }, {0xAABBCCDDu}},
        {"releaseModel", [] { releaseModel(0xAABBCCDDu); }, {0xAABBCCDDu}},
        {"newPedSetup", [] { newPedSetup(101); }, {101, 0}},
        {"setRelationshipGroup",
         [] { setRelationshipGroup(101, 0x11223344u); },
         {101, 0x11223344u}},
        {"addBlipForEntity", [] { addBlipForEntity(0x11223344u, 101); }, {0x11223344u, 101}},
        {"setPedFlag", [] { setPedFlag(101, 600, false); }, {101, 600, 0}},
        {"setCombatAttribute", [] { setCombatAttribute(101, 113, true); }, {101, 113, 1}},
        {"randomIntInRange", [] { randomIntInRange(1, 11); }, {1, 11}},
        {"gameTimer", [] { gameTimer(); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.native);
        sim::clearCalls();
        c.call();
        ASSERT_EQ(callNames(), std::vector<std::string>{c.native});
        EXPECT_EQ(slotsOf(sim::calls()[0]), c.slots);
    }
}

TEST_F(WrappersTest, LoadModelYieldsOneFrameForEveryPollAfterTheFirst) {
    for (int delayFrames : {0, 1, 3, 10}) {
        sim::WorldOptions options;
        options.modelLoadDelayFrames = delayFrames;
        sim::resetWorld(options);
        const Hash model = sim::gameHash("g_m_m_uniinbred_01");
        ASSERT_TRUE(loadModel(model)) << delayFrames;
        const auto polls = callsNamed("hasModelLoaded");
        const auto waits = callsNamed("scriptWait");
        EXPECT_EQ(callsNamed("requestModel").size(), 1u) << delayFrames;
        ASSERT_GE(polls.size(), 1u);
        EXPECT_EQ(waits.size(), polls.size() - 1) << delayFrames;
        for (const sim::CallRecord* wait : waits) EXPECT_EQ(slotsOf(*wait), Slots{0});
        EXPECT_EQ(callNames().front(), "requestModel");
        EXPECT_EQ(callNames().back(), "hasModelLoaded");
    }
}

TEST_F(WrappersTest, LoadModelOfAResidentModelCostsNoFrame) {
    const Hash model = sim::gameHash("g_m_m_uniinbred_01");
    ASSERT_TRUE(loadModel(model));
    sim::clearCalls();
    const auto frame = sim::currentFrame();
    ASSERT_TRUE(loadModel(model));
    EXPECT_EQ(callNames(), (std::vector<std::string>{"requestModel", "hasModelLoaded"}));
    EXPECT_EQ(sim::currentFrame(), frame);
}

// The wait used to be a count of 300 frames: 10 s at 30 frames a second, but 2 s at 144. It is
// measured on the game's timer now, whatever the frame rate.
TEST_F(WrappersTest, LoadModelGivesUpOnceTenSecondsHavePassedOnTheGameTimer) {
    sim::setModelNeverLoads("g_m_m_nosuchgang_01");
    EXPECT_FALSE(loadModel(sim::gameHash("g_m_m_nosuchgang_01")));

    const auto timer = callsNamed("gameTimer");
    ASSERT_GE(timer.size(), 2u);
    const auto readingAt = [&](std::size_t i) { return std::stoi(sim::resultJson(*timer[i])); };
    const int start = readingAt(0);
    EXPECT_GE(readingAt(timer.size() - 1) - start, modelLoadTimeoutMs) << "gave up too early";
    EXPECT_LT(readingAt(timer.size() - 2) - start, modelLoadTimeoutMs)
        << "polled on after the deadline";
    EXPECT_EQ(callNames().back(), "gameTimer");
    EXPECT_EQ(callsNamed("scriptWait").size(), callsNamed("hasModelLoaded").size() - 1);
}

TEST_F(WrappersTest, LoadModelTakesAModelThatArrivesOnTheLastPollBeforeTheDeadline) {
    sim::WorldOptions options;
    // 30 frames a second: frame 299 is the last poll short of 10 s after the first.
    options.modelLoadDelayFrames = 299;
    sim::resetWorld(options);
    EXPECT_TRUE(loadModel(sim::gameHash("g_m_m_uniinbred_01")));
    EXPECT_EQ(callNames().back(), "hasModelLoaded");
}

}  // namespace
