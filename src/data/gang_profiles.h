// What makes one gang's squad different from another's. Every name is text, turned into a Hash
// by the game at the moment it is used, exactly as stored (case included).
#pragma once

#include <array>
#include <cstdint>

#include "data/hideouts.h"

enum class Gang { duster, exConfederate, swamp, inbred, mountainMan, bandito };

// Who says a squad's spawn line: the member just armed, or the player's own character.
enum class SpawnLineSpeaker { member, player };

struct GangProfile {
    Gang gang;
    HideoutList hideouts;
    const char* primaryModel;
    const char* secondaryModel;  // nullptr: the gang has one model
    float secondaryModelMaxX;    // metres; secondaryModel is used at points with x <= this
    const char* relationshipGroup;
    const char* meleeWeapon;  // nullptr: none; given before the main weapon, 1 round, no ammo type
    const char* weapon;
    const char* ammoType;
    std::int32_t ammoCount;
    std::uint32_t armWaitMs;  // pause after arming each member, milliseconds of frame time
    const char* spawnLine;
    SpawnLineSpeaker spawnLineSpeaker;
    std::int32_t spawnLineVariationMin;
    std::int32_t spawnLineVariationMax;
};

// In the order the director walks the hideout lists.
inline constexpr std::array<GangProfile, 6> gangProfiles = {{
    {
        .gang = Gang::duster,
        .hideouts = dusterHideouts,
        .primaryModel = "g_m_m_uniduster_01",
        .secondaryModel = "G_M_M_UNIDUSTER_02",
        .secondaryModelMaxX = -1000.0f,
        .relationshipGroup = "REL_GANG_ODRISCOLL",
        .meleeWeapon = nullptr,
        .weapon = "WEAPON_REVOLVER_CATTLEMAN",
        .ammoType = "AMMO_REVOLVER",
        .ammoCount = 100,
        .armWaitMs = 500,
        .spawnLine = "SPOTTED_MALE",
        .spawnLineSpeaker = SpawnLineSpeaker::member,
        .spawnLineVariationMin = 2,
        .spawnLineVariationMax = 4,
    },
    {
        .gang = Gang::exConfederate,
        .hideouts = exConfederateHideouts,
        .primaryModel = "g_m_y_uniexconfeds_01",
        .secondaryModel = nullptr,
        .secondaryModelMaxX = 0.0f,
        .relationshipGroup = "REL_GANG_ODRISCOLL",
        .meleeWeapon = nullptr,
        .weapon = "WEAPON_REVOLVER_CATTLEMAN",
        .ammoType = "AMMO_RIFLE",
        .ammoCount = 100,
        .armWaitMs = 500,
        .spawnLine = "SPOTTED_MALE",
        .spawnLineSpeaker = SpawnLineSpeaker::member,
        .spawnLineVariationMin = 1,
        .spawnLineVariationMax = 4,
    },
    {
        .gang = Gang::swamp,
        .hideouts = swampHideouts,
        .primaryModel = "g_m_m_uniswamp_01",
        .secondaryModel = nullptr,
        .secondaryModelMaxX = 0.0f,
        .relationshipGroup = "REL_GANG_ODRISCOLL",
        .meleeWeapon = "WEAPON_MELEE_MACHETE",
        .weapon = "WEAPON_BOW",
        .ammoType = "AMMO_ARROW",
        .ammoCount = 20,
        .armWaitMs = 1000,
        .spawnLine = "RE_WILD_UNI_HEARD_HOWLA",
        .spawnLineSpeaker = SpawnLineSpeaker::player,
        .spawnLineVariationMin = 1,
        .spawnLineVariationMax = 2,
    },
    {
        .gang = Gang::inbred,
        .hideouts = inbredHideouts,
        .primaryModel = "g_m_m_uniinbred_01",
        .secondaryModel = nullptr,
        .secondaryModelMaxX = 0.0f,
        .relationshipGroup = "REL_GANG_MURFREE_BROOD",
        .meleeWeapon = nullptr,
        .weapon = "WEAPON_REVOLVER_CATTLEMAN",
        .ammoType = "AMMO_REVOLVER",
        .ammoCount = 100,
        .armWaitMs = 500,
        .spawnLine = "SPOTTED_MALE",
        .spawnLineSpeaker = SpawnLineSpeaker::member,
        .spawnLineVariationMin = 1,
        .spawnLineVariationMax = 4,
    },
    {
        .gang = Gang::mountainMan,
        .hideouts = mountainManHideouts,
        .primaryModel = "g_m_m_unimountainmen_01",
        .secondaryModel = nullptr,
        .secondaryModelMaxX = 0.0f,
        .relationshipGroup = "REL_GANG_SKINNER_BROTHERS",
        .meleeWeapon = nullptr,
        .weapon = "WEAPON_REVOLVER_CATTLEMAN",
        .ammoType = "AMMO_REVOLVER",
        .ammoCount = 100,
        .armWaitMs = 500,
        .spawnLine = "SPOTTED_MALE",
        .spawnLineSpeaker = SpawnLineSpeaker::member,
        .spawnLineVariationMin = 1,
        .spawnLineVariationMax = 4,
    },
    {
        .gang = Gang::bandito,
        .hideouts = banditoHideouts,
        .primaryModel = "g_m_m_unibanditos_01",
        .secondaryModel = nullptr,
        .secondaryModelMaxX = 0.0f,
        .relationshipGroup = "REL_GANG_SKINNER_BROTHERS",
        .meleeWeapon = nullptr,
        .weapon = "WEAPON_REVOLVER_CATTLEMAN",
        .ammoType = "AMMO_REVOLVER",
        .ammoCount = 100,
        .armWaitMs = 500,
        .spawnLine = "SPOTTED_MALE",
        .spawnLineSpeaker = SpawnLineSpeaker::member,
        .spawnLineVariationMin = 1,
        .spawnLineVariationMax = 4,
    },
}};
static_assert(gangProfiles.size() == 6, "one profile per hideout list");

// The profile of a gang; profiles stand in the order of the Gang enumerators.
constexpr const GangProfile& profileOf(Gang gang) {
    return gangProfiles[static_cast<std::size_t>(gang)];
}
