#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "native_calls.h"
#include "sim/control.h"

namespace {

using namespace simtest;

const Hash swampModel = sim::gameHash("g_m_m_uniswamp_01");
const Hash dusterModel = sim::gameHash("g_m_m_uniduster_01");

class SimWorld : public ::testing::Test {
protected:
    void SetUp() override { sim::resetWorld(); }

    // A model requested and waited for, the way the plug-in's loadModel does it.
    static void makeResident(Hash model) {
        requestModel(model);
        while (!hasModelLoaded(model)) scriptWait(0);
    }
};

TEST(ModelStreaming, ARequestedModelIsResidentAfterTheDelayInFrames) {
    for (int delay : {0, 1, 3}) {
        sim::WorldOptions options;
        options.modelLoadDelayFrames = delay;
        sim::resetWorld(options);
        sim::runFrames(7);
        EXPECT_FALSE(hasModelLoaded(swampModel)) << "never requested";
        requestModel(swampModel);
        for (int frame = 0; frame < delay; ++frame) {
            EXPECT_FALSE(hasModelLoaded(swampModel)) << "delay " << delay << ", frame " << frame;
            EXPECT_EQ(createPedAt(swampModel, {}), 0) << "delay " << delay;
            scriptWait(0);
            requestModel(swampModel);  // asking again must not restart the delay
        }
        EXPECT_TRUE(hasModelLoaded(swampModel)) << "delay " << delay;
    }
}

TEST_F(SimWorld, AModelMarkedNeverLoadsByNameNeverBecomesResident) {
    sim::setModelNeverLoads("G_M_M_UniSwamp_01");  // matched by game hash, so case-blind
    requestModel(swampModel);
    requestModel(dusterModel);
    sim::runFrames(100);
    EXPECT_FALSE(hasModelLoaded(swampModel));
    EXPECT_EQ(createPedAt(swampModel, {}), 0);
    EXPECT_TRUE(hasModelLoaded(dusterModel));
}

TEST_F(SimWorld, AReleasedModelMustBeRequestedAgain) {
    makeResident(swampModel);
    callNative(native::releaseModel, hashSlot(swampModel));
    EXPECT_FALSE(hasModelLoaded(swampModel));
    EXPECT_EQ(createPedAt(swampModel, {}), 0);
    makeResident(swampModel);
    EXPECT_NE(createPedAt(swampModel, {}), 0);
}

TEST_F(SimWorld, CreatedPedsGetNewHandlesInOrderAndKeepWhatTheyWereCreatedWith) {
    makeResident(swampModel);
    const Ped first = createPedAt(swampModel, {1.5f, -2.25f, 100.0f});
    const Ped second = createPedAt(swampModel, {4.0f, 5.0f, 6.0f});
    EXPECT_EQ(first, sim::firstCreatedPed);
    EXPECT_EQ(second, sim::firstCreatedPed + 1);
    EXPECT_EQ(sim::createdPeds(), (std::vector<Ped>{first, second}));

    const sim::PedState state = sim::pedState(first).value();
    EXPECT_EQ(state.model, swampModel);
    EXPECT_TRUE(state.exists);
    EXPECT_FALSE(state.dead);
    const Vector3 at = coordsOf(first);
    EXPECT_EQ(at.x, 1.5f);
    EXPECT_EQ(at.y, -2.25f);
    EXPECT_EQ(at.z, 100.0f);
    EXPECT_EQ(entityModel(second), swampModel);
    EXPECT_EQ(sim::livingPedCount(), 2);
}

// The pool holds every created ped that still exists, dead or alive; handles are never reused.
TEST_F(SimWorld, AFullPedPoolAnswersZeroUntilAPedIsDeleted) {
    sim::setPedPoolCap(2);
    makeResident(swampModel);
    Ped first = createPedAt(swampModel, {});
    const Ped second = createPedAt(swampModel, {});
    sim::killPed(second);
    EXPECT_EQ(createPedAt(swampModel, {}), 0);
    EXPECT_EQ(sim::createdPeds().size(), 2u);

    deleteEntity(&first);
    EXPECT_EQ(createPedAt(swampModel, {}), sim::firstCreatedPed + 2);
}

TEST_F(SimWorld, DeleteEntityRemovesThePedAndItsBlipsAndZeroesTheHandle) {
    makeResident(swampModel);
    const Ped ped = createPedAt(swampModel, {10.0f, 20.0f, 30.0f});
    callNative(native::addBlipForEntity, hashSlot(sim::gameHash("BLIP_STYLE_ENEMY")), intSlot(ped));
    ASSERT_EQ(sim::pedState(ped)->blips, 1);

    Ped handle = ped;
    deleteEntity(&handle);
    EXPECT_EQ(handle, 0);
    const sim::PedState state = sim::pedState(ped).value();
    EXPECT_FALSE(state.exists);
    EXPECT_EQ(state.blips, 0);
    EXPECT_EQ(sim::livingPedCount(), 0);
    EXPECT_EQ(sim::argsJson(sim::calls().back()), "[" + std::to_string(ped) + "]")
        << "the log shows the handle as it was before the game cleared it";

    Ped neverCreated = 4242;
    deleteEntity(&neverCreated);
    EXPECT_EQ(neverCreated, 0);
}

TEST_F(SimWorld, MissingEntitiesAnswerOriginDeadAndNoModel) {
    makeResident(swampModel);
    Ped deleted = createPedAt(swampModel, {1.0f, 2.0f, 3.0f});
    const Ped vanished = createPedAt(swampModel, {1.0f, 2.0f, 3.0f});
    const Ped deletedHandle = deleted;
    deleteEntity(&deleted);
    sim::vanishPed(vanished);

    for (const Ped missing : {deletedHandle, vanished, Ped{4242}, Ped{0}, Ped{-1}}) {
        const Vector3 at = coordsOf(missing);
        EXPECT_EQ(at.x, 0.0f) << missing;
        EXPECT_EQ(at.y, 0.0f) << missing;
        EXPECT_EQ(at.z, 0.0f) << missing;
        EXPECT_EQ(isEntityDead(missing), sim::missingEntityDead) << missing;
        EXPECT_EQ(entityModel(missing), sim::missingEntityModel) << missing;
    }
}

TEST_F(SimWorld, ThePlayerIsAnEntityToo) {
    sim::placePlayer({-855.478f, 1404.56f, 230.655f});
    const Ped player = slotInt(callNative(native::playerPed)[0]);
    EXPECT_EQ(player, sim::playerPedHandle());
    EXPECT_EQ(coordsOf(player).y, 1404.56f);
    EXPECT_EQ(entityModel(player), sim::gameHash(sim::playerModelName));

    const std::int32_t index = slotInt(callNative(native::playerIndex)[0]);
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(slotBool(callNative(native::isPlayerDead, intSlot(index))[0]));
    EXPECT_FALSE(isEntityDead(player));
    sim::setPlayerDead(true);
    EXPECT_TRUE(slotBool(callNative(native::isPlayerDead, intSlot(index))[0]));
    EXPECT_TRUE(isEntityDead(player));
}

TEST_F(SimWorld, EntityCoordsFillsOnlyTheLowHalvesOfThreeSlots) {
    const std::uint64_t* result =
        callNative(native::entityCoords, intSlot(sim::playerPedHandle()), intSlot(1), intSlot(0));
    for (int slot = 0; slot < 3; ++slot) {
        EXPECT_NE(result[slot] >> 32, 0u)
            << "high half of slot " << slot << " must not pass for a meaningful zero";
    }
}

TEST(DistanceBetween, ThreeDimensionalOnlyWhenTheLastArgumentIsSet) {
    struct Case {
        Vector3 a;
        Vector3 b;
        std::int32_t in3d;
        float expected;
    };
    const Case cases[] = {
        {{0, 0, 0}, {3, 4, 12}, 1, 13.0f},
        {{0, 0, 0}, {3, 4, 12}, 0, 5.0f},
        {{-1, -1, 500}, {2, 3, -500}, 0, 5.0f},
        {{10, 20, 30}, {10, 20, 30}, 1, 0.0f},
        {{-855.5f, 1404.5f, 230.5f}, {-855.5f, 1454.5f, 230.5f}, 1, 50.0f},
    };
    sim::resetWorld();
    for (const Case& c : cases) {
        const float distance = slotFloat(callNative(
            native::distanceBetween, floatSlot(c.a.x), floatSlot(c.a.y), floatSlot(c.a.z),
            floatSlot(c.b.x), floatSlot(c.b.y), floatSlot(c.b.z), intSlot(c.in3d))[0]);
        EXPECT_EQ(distance, c.expected) << "in3d " << c.in3d;
    }
}

TEST_F(SimWorld, SetupNativesRecordTheirEffectOnThePed) {
    makeResident(dusterModel);
    const Ped ped = createPedAt(dusterModel, {});
    const Hash group = sim::gameHash("REL_GANG_ODRISCOLL");
    const Hash revolver = sim::gameHash("WEAPON_REVOLVER_CATTLEMAN");
    const Hash ammo = sim::gameHash("AMMO_REVOLVER");
    const auto giveWeapon = [&](Hash weapon, std::int32_t count, Hash ammoType) {
        callNative(native::giveWeapon, intSlot(ped), hashSlot(weapon), intSlot(count), intSlot(1),
                   intSlot(1), intSlot(1), intSlot(1), floatSlot(1.0f), floatSlot(1.0f),
                   hashSlot(ammoType), intSlot(0), intSlot(0), intSlot(1));
    };

    callNative(native::newPedSetup, intSlot(ped), intSlot(0));
    callNative(native::setRelationshipGroup, intSlot(ped), hashSlot(group));
    const std::int32_t blip = slotInt(callNative(
        native::addBlipForEntity, hashSlot(sim::gameHash("BLIP_STYLE_ENEMY")), intSlot(ped))[0]);
    callNative(native::setPedFlag, intSlot(ped), intSlot(281), intSlot(1));
    callNative(native::setCombatAttribute, intSlot(ped), intSlot(46), intSlot(1));
    callNative(native::setCombatAttribute, intSlot(ped), intSlot(5), intSlot(0));
    giveWeapon(revolver, 100, ammo);
    giveWeapon(revolver, 50, 0);
    callNative(native::taskCombat, intSlot(ped), intSlot(sim::playerPedHandle()), intSlot(0),
               intSlot(16));

    const sim::PedState state = sim::pedState(ped).value();
    EXPECT_EQ(state.outfitSetups, 1);
    EXPECT_EQ(state.relationshipGroup, group);
    EXPECT_NE(blip, 0);
    EXPECT_EQ(state.blips, 1);
    EXPECT_EQ(state.flags, (std::map<std::int32_t, bool>{{281, true}}));
    EXPECT_EQ(state.combatAttributes, (std::map<std::int32_t, bool>{{5, false}, {46, true}}));
    EXPECT_EQ(state.weapons, std::vector<Hash>{revolver});
    ASSERT_EQ(state.weaponGifts.size(), 2u);
    EXPECT_EQ(state.weaponGifts[0].ammoCount, 100);
    EXPECT_EQ(state.weaponGifts[0].ammoType, ammo);
    EXPECT_EQ(state.weaponGifts[1].ammoType, 0u);
    EXPECT_EQ(state.combatTarget, sim::playerPedHandle());
}

TEST_F(SimWorld, ABlipNeedsAnEntityThatExists) {
    const std::int32_t blip = slotInt(callNative(
        native::addBlipForEntity, hashSlot(sim::gameHash("BLIP_STYLE_ENEMY")), intSlot(4242))[0]);
    EXPECT_EQ(blip, 0);
}

TEST_F(SimWorld, KilledPedsStayInTheWorldDead) {
    makeResident(swampModel);
    const Ped ped = createPedAt(swampModel, {7.0f, 8.0f, 9.0f});
    sim::killPed(ped);
    EXPECT_TRUE(isEntityDead(ped));
    EXPECT_EQ(coordsOf(ped).x, 7.0f);
    EXPECT_EQ(entityModel(ped), swampModel);
    EXPECT_EQ(sim::livingPedCount(), 0);
    EXPECT_THROW(sim::killPed(4242), std::invalid_argument);
}

TEST_F(SimWorld, AmbientSpeechRecordsWhoSaidWhatAndWhen) {
    const char* line = "RE_KT_NBX_V2_POST_SHIT";
    const char* voice = "";
    // Padding in high halves and beyond slot 2 is the caller's business and must not leak in.
    const std::uint64_t request[8] = {
        pointerSlot(line), pointerSlot(voice), 0xAAAAAAAA00000005ull, 0, 0, 0, 0, 0};
    sim::runFrames(12);
    callNative(native::playAmbientSpeech, intSlot(sim::playerPedHandle()), pointerSlot(request));
    ASSERT_EQ(sim::speeches().size(), 1u);
    const sim::SpeechRecord& said = sim::speeches()[0];
    EXPECT_EQ(said.frame, 12);
    EXPECT_EQ(said.timeMs, 400);
    EXPECT_EQ(said.speaker, sim::playerPedHandle());
    EXPECT_EQ(said.line, line);
    EXPECT_EQ(said.voice, "");
    EXPECT_EQ(said.variation, 5);
}

}  // namespace
