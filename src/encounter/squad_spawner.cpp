#include "encounter/squad_spawner.h"

#include "data/squad_formation.h"
#include "encounter/encounter_state.h"
#include "encounter/game_queries.h"
#include "speech/speech_request.h"

namespace {

constexpr std::int32_t meleeAmmoCount = 1;
constexpr Hash noAmmoType = 0;

void saySpawnLine(const GangProfile& profile, Ped member) {
    if (profile.spawnLineSpeaker == SpawnLineSpeaker::player) {
        sayLine(profile.spawnLine, profile.spawnLineVariationMin, profile.spawnLineVariationMax);
        return;
    }
    const SpeechRequest request = makeSpeechRequest(
        profile.spawnLine,
        drawVariation(profile.spawnLineVariationMin, profile.spawnLineVariationMax));
    playAmbientSpeech(member, request);
}

}  // namespace

bool spawnSquad(const GangProfile& profile, Vector3 hideoutPoint) {
    const Hash model = hashOfName(squadModel(profile, hideoutPoint));
    if (!loadModel(model)) {
        // Balance the request; nothing was created from it.
        releaseModel(model);
        return false;
    }
    for (int slot = 1; slot <= squadSize; ++slot) {
        spawnSquadMember(profile, model, memberPosition(hideoutPoint, slot));
    }
    return true;
}

void spawnSquadMember(const GangProfile& profile, Hash model, Vector3 memberPosition) {
    const Ped member = createPed(model, memberPosition.x, memberPosition.y, memberPosition.z);
    newPedSetup(member);
    setRelationshipGroup(member, hashOfName(profile.relationshipGroup));
    addBlipForEntity(hashOfName(squadBlipStyle), member);
    setPedFlag(member, squadPedFlag, false);
    for (const std::int32_t attribute : squadCombatAttributes) {
        setCombatAttribute(member, attribute, false);
    }
    if (profile.meleeWeapon != nullptr) {
        giveWeapon(member, hashOfName(profile.meleeWeapon), meleeAmmoCount, noAmmoType);
    }
    // Named one after the other: the order of hashOfString calls must not rest on the compiler's
    // order of evaluating arguments.
    const Hash weapon = hashOfName(profile.weapon);
    const Hash ammoType = hashOfName(profile.ammoType);
    giveWeapon(member, weapon, profile.ammoCount, ammoType);
    scriptWait(profile.armWaitMs);
    saySpawnLine(profile, member);
    taskCombat(member, currentPlayerPed());
    appendMember(encounterState.gangRoster, member);
    // One release per member, so seven follow the squad's one request; this is deliberate, not a
    // misplaced once-per-squad release.
    releaseModel(model);
}
