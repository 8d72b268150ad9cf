// The few game questions that several encounter steps ask: where the player is and how far apart
// two positions are. Each is asked afresh every time: nothing is cached.
#pragma once

#include "host/host.h"
#include "natives/wrappers.h"

// playerPed, then entityCoords on it.
inline NativeVector3 playerPosition() {
    return entityCoords(currentPlayerPed());
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
