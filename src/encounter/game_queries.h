// The few game questions that several encounter steps ask: who and where the player is, the
// hash of a name, and how far apart two positions are. Each is one native call (two for the
// player's position) and is asked afresh every time: nothing is cached.
#pragma once

#include "host/host.h"
#include "natives/call.h"
#include "natives/catalogue.h"
#include "natives/slot.h"
#include "natives/wrappers.h"

inline Ped currentPlayerPed() { return slotInt(callNative(native::playerPed)[0]); }

// playerPed, then entityCoords on it.
inline NativeVector3 playerPosition() { return entityCoords(currentPlayerPed()); }

// The game's hash of a name, passed exactly as stored (case included).
inline Hash hashOfName(const char* name) {
    return slotHash(callNative(native::hashOfString, pointerSlot(name))[0]);
}

// Metres from the player's position to another; the player's coordinates go first.
inline float distanceFrom(const NativeVector3& player, float x, float y, float z) {
    return distanceBetween(player.x, player.y, player.z, x, y, z);
}
inline float distanceFrom(const NativeVector3& player, const NativeVector3& other) {
    return distanceFrom(player, other.x, other.y, other.z);
}
inline float distanceFrom(const NativeVector3& player, Vector3 point) {
    return distanceFrom(player, point.x, point.y, point.z);
}
