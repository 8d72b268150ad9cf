// Typed wrappers for the six natives with long fixed argument lists or a polling loop.
// Each pushes its native's slots in a fixed order with the fixed constants the game expects.
#pragma once

#include <cstdint>

#include "host/host.h"

// Polls a requested model for about ten seconds of frames before giving up on it.
inline constexpr int modelLoadPollLimit = 300;

// Creates a character of a resident model at (x, y, z); the handle is returned unchecked.
Ped createPed(Hash model, float x, float y, float z);

// Requests the model and polls until it is resident, one frame per further poll. A model that
// is resident already costs no frame. Returns false when the model was still not resident after
// modelLoadPollLimit polls: the game does not serve it.
bool loadModel(Hash model);

// Sends ped to fight target.
void taskCombat(Ped ped, Ped target);

// The entity's position as the host returns it, all 24 bytes.
NativeVector3 entityCoords(std::int32_t entity);

// Euclidean distance in 3-D, metres.
float distanceBetween(float x1, float y1, float z1, float x2, float y2, float z2);

// Gives ped a weapon with ammoCount rounds of ammoType (0: none).
void giveWeapon(Ped ped, Hash weapon, std::int32_t ammoCount, Hash ammoType);
