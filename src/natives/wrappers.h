// One typed wrapper per game native the plug-in calls: the only place that pushes slots. Each
// pushes its native's slots in a fixed order with the fixed constants the game expects, and reads
// the result the way the catalogue describes it.
#pragma once

#include <cstdint>

#include "host/host.h"
#include "natives/ambient_speech.h"

// [SECTION] Player, frame and names

// The game's hash of a name, passed exactly as stored (case included).
Hash hashOfName(const char* name);

// The player's character.
Ped currentPlayerPed();

// The player's index, as isPlayerDead takes it.
std::int32_t currentPlayerIndex();

bool isPlayerDead(std::int32_t player);

// True when the game wants this frame left alone.
bool tickGateClosed();

// [SECTION] Positions

// The entity's position as the host returns it, all 24 bytes.
NativeVector3 entityCoords(std::int32_t entity);

// Euclidean distance in 3-D, metres.
float distanceBetween(float x1, float y1, float z1, float x2, float y2, float z2);

// [SECTION] Clock

std::int32_t clockHours();       // 0..23
std::int32_t clockMinutes();     // 0..59
std::int32_t clockDayOfMonth();  // from 1
std::int32_t clockMonth();       // from 0
std::int32_t clockYear();

// [SECTION] Entities and models

bool isEntityDead(std::int32_t entity);

Hash entityModel(std::int32_t entity);

// Hands the game a pointer to the handle; the game may write through it.
void deleteEntity(Ped* handle);

void requestModel(Hash model);

bool hasModelLoaded(Hash model);

// The script no longer needs the model.
void releaseModel(Hash model);

// How long a requested model may take to become resident, in milliseconds of the game's timer.
// Measured on the timer, not in frames, so that a fast frame rate does not cut the wait short for
// a model streamed from a slow disk.
inline constexpr std::int32_t modelLoadTimeoutMs = 10'000;

// Requests the model and polls until it is resident, one frame per further poll. A model that
// is resident already costs no frame and no look at the timer. Returns false when the model was
// still not resident once modelLoadTimeoutMs had passed on the game's timer since the first poll:
// the game does not serve it.
bool loadModel(Hash model);

// [SECTION] Characters

// Creates a character of a resident model at (x, y, z); the handle is returned unchecked.
Ped createPed(Hash model, float x, float y, float z);

// Gives a new character its outfit.
void newPedSetup(Ped ped);

void setRelationshipGroup(Ped ped, Hash group);

// The blip's handle is not kept.
void addBlipForEntity(Hash blipStyle, std::int32_t entity);

void setPedFlag(Ped ped, std::int32_t flag, bool value);

void setCombatAttribute(Ped ped, std::int32_t attribute, bool value);

// Gives ped a weapon with ammoCount rounds of ammoType (0: none).
void giveWeapon(Ped ped, Hash weapon, std::int32_t ammoCount, Hash ammoType);

// Sends ped to fight target.
void taskCombat(Ped ped, Ped target);

// [SECTION] Time

// Milliseconds of game time; keeps running while the script waits, and may wrap around.
std::int32_t gameTimer();

// [SECTION] Speech and chance

// An integer the game draws, passed the bounds exactly as given.
std::int32_t randomIntInRange(std::int32_t lower, std::int32_t upper);

// Hands the request to the game with speaker as the one who talks.
void playAmbientSpeech(Ped speaker, const SpeechRequest& request);
