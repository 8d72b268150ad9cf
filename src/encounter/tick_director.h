// The one decision procedure, run once per script frame: skip the frame when the game asks,
// clear away far dead members, re-arm when due, clear the squad when the player is dead or far
// away, spawn a squad at the first armed hideout near the player, offer the gang's taunt, and see
// whether the fight is over. It may wait for seconds (spawning, speech); the whole plug-in waits
// with it.
#pragma once

#include <cstdint>
#include <optional>

#include "data/hideouts.h"
#include "host/host.h"

inline constexpr float triggerDistance = 50.0f;   // metres; a point matches when strictly nearer
inline constexpr float farCullDistance = 150.0f;  // metres; a member goes when strictly farther
// Game minutes after which a point whose squad could not be created is tried again even though
// the player never left it.
inline constexpr std::int32_t failedSpawnRetryMinutes = 60;

// The first point of the list strictly within triggerDistance of the player, measuring the points
// in list order and none after the match.
std::optional<Vector3> firstPointInReach(HideoutList hideouts, const NativeVector3& player);

void tick();
