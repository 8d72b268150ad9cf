// What makes one gang's squad different from another's. Every name is text, turned into a Hash
// by the game at the moment it is used, exactly as stored (case included).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "data/hideouts.h"
#include "speech/aftermath_scripts.h"
#include "speech/approach_taunts.h"
#include "speech/speech_request.h"

// One enumerator per row of gangProfiles, in the same order.
enum class Gang { duster, exConfederate, swamp, inbred, mountainMan, bandito };
inline constexpr std::size_t gangCount = static_cast<std::size_t>(Gang::bandito) + 1;

// Who says a squad's spawn line: the member just armed, or the player's own character.
enum class SpawnLineSpeaker { member, player };

// Everything that tells one gang from another. Every field is given in every row: a row that leaves
// one out does not compile.
struct GangProfile {
    Gang gang;
    std::string_view displayName;   // how the simulator's timeline and map name the gang
    std::string_view scenarioName;  // how a scenario file names the gang
    std::string_view mapColour;     // the gang's colour on the simulator's map
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
    std::span<const SpeechStep> approachTaunt;
    // What the player's character says after a fight with the gang's squad. The fight aftermath
    // finds the gang by the model of a member, comparing the gangs' primary models in the order of
    // aftermathLookup (1 first); a gang at 0 is never compared, so its squads get the default
    // scripts, which are then its firstKillLines and closingLines.
    int aftermathLookup;
    std::span<const SpeechStep> firstKillLines;
    std::span<const SpeechStep> closingLines;
};

// In the order the director walks the hideout lists.
inline constexpr auto gangProfiles = std::to_array<GangProfile>({
    {
        .gang = Gang::duster,
        .displayName = "Duster",
        .scenarioName = "duster",
        .mapColour = "#d95f02",
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
        .approachTaunt = approachTauntDuster,
        .aftermathLookup = 0,
        .firstKillLines = firstKillLinesDefault,
        .closingLines = closingLinesDefault,
    },
    {
        .gang = Gang::exConfederate,
        .displayName = "ExConfederate",
        .scenarioName = "exconfederate",
        .mapColour = "#7570b3",
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
        .approachTaunt = approachTauntExConfederate,
        .aftermathLookup = 3,
        .firstKillLines = firstKillLinesExConfederate,
        .closingLines = closingLinesExConfederate,
    },
    {
        .gang = Gang::swamp,
        .displayName = "Swamp",
        .scenarioName = "swamp",
        .mapColour = "#1b9e77",
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
        .approachTaunt = approachTauntSwamp,
        .aftermathLookup = 4,
        .firstKillLines = firstKillLinesSwamp,
        .closingLines = closingLinesSwamp,
    },
    {
        .gang = Gang::inbred,
        .displayName = "Inbred",
        .scenarioName = "inbred",
        .mapColour = "#e7298a",
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
        .approachTaunt = approachTauntInbred,
        .aftermathLookup = 2,
        .firstKillLines = firstKillLinesInbred,
        .closingLines = closingLinesInbred,
    },
    {
        .gang = Gang::mountainMan,
        .displayName = "MountainMan",
        .scenarioName = "mountainman",
        .mapColour = "#66a61e",
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
        .approachTaunt = approachTauntMountainMan,
        .aftermathLookup = 5,
        .firstKillLines = firstKillLinesMountainMan,
        .closingLines = closingLinesMountainMan,
    },
    {
        .gang = Gang::bandito,
        .displayName = "Bandito",
        .scenarioName = "bandito",
        .mapColour = "#b8860b",
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
        .approachTaunt = approachTauntBandito,
        .aftermathLookup = 1,
        .firstKillLines = firstKillLinesBandito,
        .closingLines = closingLinesBandito,
    },
});
static_assert(gangProfiles.size() == gangCount, "one profile per Gang enumerator");

// Row i is the profile of Gang(i), which profileOf relies on.
constexpr bool profilesInGangOrder() {
    for (std::size_t i = 0; i < gangProfiles.size(); ++i) {
        if (gangProfiles[i].gang != static_cast<Gang>(i)) return false;
    }
    return true;
}
static_assert(profilesInGangOrder(), "gangProfiles[i] must be the profile of Gang(i)");

// The aftermath lookup orders are 1, 2, 3, ... without a gap or a repeat, apart from the zeros.
constexpr bool aftermathLookupIsASequence() {
    std::size_t compared = 0;
    for (const GangProfile& profile : gangProfiles) compared += profile.aftermathLookup > 0;
    for (std::size_t order = 1; order <= compared; ++order) {
        std::size_t holders = 0;
        for (const GangProfile& profile : gangProfiles) {
            holders += static_cast<std::size_t>(profile.aftermathLookup) == order;
        }
        if (holders != 1) return false;
    }
    return true;
}
static_assert(aftermathLookupIsASequence(),
              "aftermathLookup must number the compared gangs 1, 2, 3, ...");

// Every gang's hideouts together: the number of points the plug-in knows.
constexpr std::size_t hideoutPointCount() {
    std::size_t count = 0;
    for (const GangProfile& profile : gangProfiles) count += profile.hideouts.size();
    return count;
}
static_assert(hideoutPointCount() == 87, "the six hideout lists hold 87 points in all");

// The profile of a gang.
constexpr const GangProfile& profileOf(Gang gang) {
    return gangProfiles[static_cast<std::size_t>(gang)];
}
