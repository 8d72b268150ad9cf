#include "encounter/squad_spawner.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "data/gang_profiles.h"
#include "data/squad_formation.h"
#include "natives/slot.h"
#include "natives/wrappers.h"
#include "tests/support/encounter_fixture.h"

namespace {

using namespace encounter_testing;
using Names = std::vector<std::string>;
using Slots = std::vector<std::uint64_t>;

class SquadSpawnerTest : public EncounterTest {};

// The model arrives one frame after its request: the first poll misses and starts the clock.
const Names loadingCalls = {"hashOfString", "requestModel", "hasModelLoaded",
                            "gameTimer",    "scriptWait",   "hasModelLoaded"};

// Steps 1 to 9 of a member without a melee weapon.
const Names setupCalls = {
    "createPed",        "newPedSetup", "hashOfString",       "setRelationshipGroup", "hashOfString",
    "addBlipForEntity", "setPedFlag",  "setCombatAttribute", "setCombatAttribute"};

Names concat(std::initializer_list<Names> parts) {
    Names all;
    for (const Names& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

const Names swampMemberCalls =
    concat({setupCalls,
            {"hashOfString", "giveWeapon", "hashOfString", "hashOfString", "giveWeapon",
             "scriptWait", "randomIntInRange", "playerPed", "playAmbientSpeech", "playerPed",
             "taskCombat", "releaseModel"}});
const Names dusterMemberCalls =
    concat({setupCalls,
            {"hashOfString", "hashOfString", "giveWeapon", "scriptWait", "randomIntInRange",
             "playAmbientSpeech", "playerPed", "taskCombat", "releaseModel"}});

// The member's calls named `name`, in order.
std::vector<const sim::CallRecord*> named(std::span<const sim::CallRecord> calls,
                                          std::string_view name) {
    std::vector<const sim::CallRecord*> found;
    for (const sim::CallRecord& call : calls) {
        if (call.name() == name) found.push_back(&call);
    }
    return found;
}

std::string quoted(const char* name) {
    return std::string("[\"") + name + "\"]";
}

TEST_F(SquadSpawnerTest, EveryMemberGoesThroughItsStepsInOrderWithTheGangsSettings) {
    struct Case {
        Gang gang;
        Vector3 point;
        const char* model;
        const Names& memberCalls;
        Ped speakerOfMember1;  // 0: the member itself
    };
    const Case cases[] = {
        {Gang::swamp,
         {1638.147f, -993.645f, 41.726f},
         "g_m_m_uniswamp_01",
         swampMemberCalls,
         sim::playerPedHandleValue},
        // The Duster model is chosen by x: at most -1000 takes the second model.
        {Gang::duster, {-1000.0f, 10.0f, 20.0f}, "G_M_M_UNIDUSTER_02", dusterMemberCalls, 0},
        {Gang::duster, {-999.5f, 10.0f, 20.0f}, "g_m_m_uniduster_01", dusterMemberCalls, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        resetEncounter();
        const GangProfile& profile = profileOf(c.gang);
        const Hash model = sim::gameHash(c.model);

        ASSERT_TRUE(spawnSquad(profile, c.point));

        const std::vector<sim::CallRecord>& calls = sim::calls();
        ASSERT_EQ(calls.size(), loadingCalls.size() + squadSize * c.memberCalls.size());
        EXPECT_EQ(sim::argsJson(calls[0]), quoted(c.model)) << "the name goes exactly as stored";
        EXPECT_EQ(slotsOf(calls[1]), (Slots{model, 0}));
        std::vector<Ped> created;
        for (int slot = 1; slot <= squadSize; ++slot) {
            SCOPED_TRACE(slot);
            const std::span<const sim::CallRecord> member(
                calls.data() + loadingCalls.size() + (slot - 1) * c.memberCalls.size(),
                c.memberCalls.size());
            Names names;
            for (const sim::CallRecord& call : member) names.emplace_back(call.name());
            ASSERT_EQ(names, c.memberCalls);

            const Vector3 at = memberPosition(c.point, slot);
            const Ped ped = static_cast<Ped>(std::stoi(sim::resultJson(member[0])));
            const std::uint64_t pedSlot = intSlot(ped);
            created.push_back(ped);
            EXPECT_EQ(slotsOf(member[0]), (Slots{model, floatSlot(at.x), floatSlot(at.y),
                                                 floatSlot(at.z), 0, 1, 1, 0, 0}));
            EXPECT_EQ(slotsOf(*named(member, "newPedSetup")[0]), (Slots{pedSlot, 0}));
            EXPECT_EQ(slotsOf(*named(member, "setRelationshipGroup")[0]),
                      (Slots{pedSlot, sim::gameHash(profile.relationshipGroup)}));
            EXPECT_EQ(slotsOf(*named(member, "addBlipForEntity")[0]),
                      (Slots{sim::gameHash("BLIP_STYLE_ENEMY"), pedSlot}));
            EXPECT_EQ(slotsOf(*named(member, "setPedFlag")[0]), (Slots{pedSlot, 600, 0}));
            EXPECT_EQ(slotsOf(*named(member, "setCombatAttribute")[0]), (Slots{pedSlot, 27, 0}));
            EXPECT_EQ(slotsOf(*named(member, "setCombatAttribute")[1]), (Slots{pedSlot, 113, 0}));
            const auto gifts = named(member, "giveWeapon");
            const auto& mainGift = gifts.back()->slots;
            EXPECT_EQ(mainGift[1], sim::gameHash(profile.weapon));
            EXPECT_EQ(mainGift[2], intSlot(profile.ammoCount));
            EXPECT_EQ(mainGift[9], sim::gameHash(profile.ammoType));
            if (profile.meleeWeapon != nullptr) {
                ASSERT_EQ(gifts.size(), 2u);
                EXPECT_EQ(gifts[0]->slots[1], sim::gameHash(profile.meleeWeapon));
                EXPECT_EQ(gifts[0]->slots[2], 1u);
                EXPECT_EQ(gifts[0]->slots[9], 0u);
            }
            EXPECT_EQ(slotsOf(*named(member, "scriptWait")[0]), (Slots{profile.armWaitMs}));
            EXPECT_EQ(slotsOf(*named(member, "randomIntInRange")[0]),
                      (Slots{intSlot(profile.spawnLineVariationMin),
                             intSlot(profile.spawnLineVariationMax)}));
            const Ped speaker = c.speakerOfMember1 != 0 ? c.speakerOfMember1 : ped;
            EXPECT_EQ(named(member, "playAmbientSpeech")[0]->slots[0], intSlot(speaker));
            EXPECT_EQ(slotsOf(*named(member, "taskCombat")[0]),
                      (Slots{pedSlot, intSlot(sim::playerPedHandleValue), 0, 16}));
            EXPECT_EQ(slotsOf(*named(member, "releaseModel")[0]), (Slots{model}));
        }
        EXPECT_EQ(rosterPeds(), created);
        ASSERT_EQ(sim::speeches().size(), static_cast<std::size_t>(squadSize));
        for (const sim::SpeechRecord& speech : sim::speeches()) {
            EXPECT_EQ(speech.line, profile.spawnLine);
            EXPECT_EQ(speech.voice, "");
        }
    }
}

TEST_F(SquadSpawnerTest, SevenMembersStandInFormationArmedBlippedAndFightingThePlayer) {
    const Vector3 point{100.0f, 200.0f, 30.0f};
    ASSERT_TRUE(spawnSquad(profileOf(Gang::swamp), point));

    ASSERT_EQ(encounterState.gangRoster.size(), static_cast<std::size_t>(squadSize));
    EXPECT_EQ(sim::livingPedCount(), squadSize);
    for (int slot = 1; slot <= squadSize; ++slot) {
        SCOPED_TRACE(slot);
        const std::optional<sim::PedState> member =
            sim::pedState(encounterState.gangRoster.at(static_cast<std::size_t>(slot - 1)).ped);
        ASSERT_TRUE(member.has_value());
        const Vector3 at = memberPosition(point, slot);
        EXPECT_EQ(member->model, sim::gameHash("g_m_m_uniswamp_01"));
        EXPECT_EQ(member->position.x, at.x);
        EXPECT_EQ(member->position.y, at.y);
        EXPECT_EQ(member->position.z, at.z);
        EXPECT_EQ(member->relationshipGroup, sim::gameHash("REL_GANG_ODRISCOLL"));
        EXPECT_EQ(member->blips, 1);
        EXPECT_EQ(member->outfitSetups, 1);
        EXPECT_EQ(member->flags, (std::map<std::int32_t, bool>{{600, false}}));
        EXPECT_EQ(member->combatAttributes,
                  (std::map<std::int32_t, bool>{{27, false}, {113, false}}));
        EXPECT_EQ(member->weapons, (std::vector<Hash>{sim::gameHash("WEAPON_MELEE_MACHETE"),
                                                      sim::gameHash("WEAPON_BOW")}));
        EXPECT_EQ(member->combatTarget, sim::playerPedHandleValue);
    }
}

TEST_F(SquadSpawnerTest, AMemberTheGameCouldNotCreateIsStillSetUpAndRecorded) {
    sim::setPedPoolCap(0);
    ASSERT_TRUE(spawnSquad(profileOf(Gang::inbred), {0.0f, 0.0f, 0.0f}));

    EXPECT_EQ(rosterPeds(), std::vector<Ped>(squadSize, 0));
    EXPECT_EQ(callsNamed("taskCombat").size(), static_cast<std::size_t>(squadSize));
    EXPECT_EQ(callsNamed("playAmbientSpeech").size(), static_cast<std::size_t>(squadSize));
}

// A model the game never serves used to hold the fibre in the load loop for ever.
TEST_F(SquadSpawnerTest, AModelThatNeverLoadsGivesUpAfterTheBoundedWaitAndCreatesNoMember) {
    sim::setModelNeverLoads("g_m_m_unibanditos_01");

    EXPECT_FALSE(spawnSquad(profileOf(Gang::bandito), {0.0f, 0.0f, 0.0f}));

    EXPECT_TRUE(encounterState.gangRoster.empty());
    EXPECT_TRUE(callsNamed("createPed").empty());
    EXPECT_GE(sim::frameTimeMs(sim::currentFrame()), modelLoadTimeoutMs)
        << "the wait lasted its 10 s";
    EXPECT_EQ(callsNamed("requestModel").size(), 1u);
    ASSERT_EQ(callsNamed("releaseModel").size(), 1u) << "the one request is given back";
    EXPECT_EQ(slotsOf(*callsNamed("releaseModel")[0]),
              (Slots{sim::gameHash("g_m_m_unibanditos_01")}));
}

}  // namespace
