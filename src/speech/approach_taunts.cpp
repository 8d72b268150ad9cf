#include "speech/approach_taunts.h"

#include "encounter/encounter_state.h"
#include "encounter/game_queries.h"

namespace {

constexpr float tauntDistance = 50.0f;  // metres; the taunt plays at this distance too

}  // namespace

std::span<const SpeechStep> approachTauntOf(Gang gang) {
    switch (gang) {
        case Gang::duster: return approachTauntDuster;
        case Gang::exConfederate: return approachTauntExConfederate;
        case Gang::swamp: return approachTauntSwamp;
        case Gang::inbred: return approachTauntInbred;
        case Gang::mountainMan: return approachTauntMountainMan;
        case Gang::bandito: return approachTauntBandito;
    }
    return approachTauntDuster;
}

void playApproachTaunt(const GangProfile& profile, Vector3 hideoutPoint) {
    // The spawner may have waited seconds since the director matched this point, so the player is
    // measured again here.
    if (distanceFrom(playerPosition(), hideoutPoint) > tauntDistance) return;
    if (encounterState.tauntDone) return;
    runSpeechScript(approachTauntOf(profile.gang));
    encounterState.tauntDone = true;
}
