#include "encounter/approach_taunt.h"

#include "encounter/encounter_state.h"
#include "encounter/game_queries.h"
#include "speech/speech_request.h"

void playApproachTaunt(const GangProfile& profile, Vector3 hideoutPoint) {
    // The spawner may have waited seconds since the director matched this point, so the player is
    // measured again here.
    if (distanceFrom(playerPosition(), hideoutPoint) > tauntDistance) return;
    if (encounterState.tauntDone) return;
    runSpeechScript(profile.approachTaunt);
    encounterState.tauntDone = true;
}
