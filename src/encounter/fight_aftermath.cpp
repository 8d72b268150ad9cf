#include "encounter/fight_aftermath.h"

#include <array>
#include <cstddef>

#include "encounter/encounter_state.h"
#include "encounter/game_queries.h"
#include "speech/aftermath_scripts.h"

namespace {

constexpr float deadCullDistance = 100.0f;  // metres; a dead member at exactly this stays

struct AftermathRow {
    const char* modelName;
    AftermathScripts scripts;
};

// In the order the models are compared.
constexpr std::array<AftermathRow, 5> gangAftermath = {{
    {"g_m_m_unibanditos_01", {firstKillLinesBandito, closingLinesBandito}},
    {"g_m_m_uniinbred_01", {firstKillLinesInbred, closingLinesInbred}},
    {"g_m_y_uniexconfeds_01", {firstKillLinesExConfederate, closingLinesExConfederate}},
    {"g_m_m_uniswamp_01", {firstKillLinesSwamp, closingLinesSwamp}},
    {"g_m_m_unimountainmen_01", {firstKillLinesMountainMan, closingLinesMountainMan}},
}};

constexpr AftermathScripts defaultAftermath = {firstKillLinesDefault, closingLinesDefault};

bool isDead(Ped ped) { return slotBool(callNative(native::isEntityDead, intSlot(ped))[0]); }

Hash modelOf(Ped ped) { return slotHash(callNative(native::entityModel, intSlot(ped))[0]); }

}  // namespace

AftermathScripts aftermathScriptsFor(Hash model) {
    for (const AftermathRow& row : gangAftermath) {
        if (hashOfName(row.modelName) == model) return row.scripts;
    }
    return defaultAftermath;
}

void cullFarDeadMembers() {
    const NativeVector3 player = playerPosition();
    std::size_t position = 0;
    while (position < gangRoster.size()) {
        const Ped member = gangRoster[position].ped;
        if (!isDead(member) || !(distanceFrom(player, entityCoords(member)) > deadCullDistance)) {
            ++position;
            continue;
        }
        // Read while the character still exists: deleting it takes its model with it.
        const Hash model = modelOf(member);
        deleteAndRemoveAt(gangRoster, position);
        if (!encounterState.firstKillHandled) {
            runSpeechScript(aftermathScriptsFor(model).firstKill);
            encounterState.firstKillHandled = true;
        }
    }
}

void checkFightOver() {
    if (encounterState.fightOverHandled) return;
    if (gangRoster.empty()) return;
    for (const RosterEntry& entry : gangRoster) {
        if (!isDead(entry.ped)) return;
    }
    runSpeechScript(aftermathScriptsFor(modelOf(gangRoster.front().ped)).closing);
    encounterState.fightOverHandled = true;
}
