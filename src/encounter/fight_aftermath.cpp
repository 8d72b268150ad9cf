#include "encounter/fight_aftermath.h"

#include <array>
#include <cstddef>

#include "data/gang_profiles.h"
#include "encounter/encounter_state.h"
#include "encounter/game_queries.h"
#include "speech/aftermath_scripts.h"

namespace {

constexpr AftermathScripts defaultAftermath = {firstKillLinesDefault, closingLinesDefault};

// The gangs whose models are compared, in the order of their aftermathLookup.
constexpr auto gangsByAftermathLookup = [] {
    constexpr std::size_t compared = [] {
        std::size_t count = 0;
        for (const GangProfile& profile : gangProfiles) count += profile.aftermathLookup > 0;
        return count;
    }();
    std::array<const GangProfile*, compared> ordered{};
    for (const GangProfile& profile : gangProfiles) {
        if (profile.aftermathLookup > 0) {
            ordered[static_cast<std::size_t>(profile.aftermathLookup - 1)] = &profile;
        }
    }
    return ordered;
}();

}  // namespace

AftermathScripts aftermathScriptsFor(Hash model) {
    for (const GangProfile* profile : gangsByAftermathLookup) {
        if (hashOfName(profile->primaryModel) == model) {
            return {profile->firstKillLines, profile->closingLines};
        }
    }
    return defaultAftermath;
}

void cullFarDeadMembers() {
    const NativeVector3 player = playerPosition();
    std::size_t position = 0;
    while (position < encounterState.gangRoster.size()) {
        const Ped member = encounterState.gangRoster[position].ped;
        if (!isEntityDead(member) ||
            !(distanceFrom(player, entityCoords(member)) > deadCullDistance)) {
            ++position;
            continue;
        }
        // Read while the character still exists: deleting it takes its model with it.
        const Hash model = entityModel(member);
        deleteAndRemoveAt(encounterState.gangRoster, position);
        if (!encounterState.firstKillHandled) {
            runSpeechScript(aftermathScriptsFor(model).firstKill);
            encounterState.firstKillHandled = true;
        }
    }
}

void checkFightOver() {
    if (encounterState.fightOverHandled) return;
    if (encounterState.gangRoster.empty()) return;
    for (const RosterEntry& entry : encounterState.gangRoster) {
        if (!isEntityDead(entry.ped)) return;
    }
    runSpeechScript(
        aftermathScriptsFor(entityModel(encounterState.gangRoster.front().ped)).closing);
    encounterState.fightOverHandled = true;
}
