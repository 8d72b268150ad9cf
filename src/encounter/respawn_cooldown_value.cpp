// The one translation unit that differs between the builds: compiled once per deliverable with
// GANG_HIDEOUTS_RESPAWN_COOLDOWN set to its cooldown in game minutes.
#include "encounter/respawn_cooldown.h"

#ifndef GANG_HIDEOUTS_RESPAWN_COOLDOWN
#error "define GANG_HIDEOUTS_RESPAWN_COOLDOWN to the build's cooldown in game minutes"
#endif

const std::int32_t RespawnCooldown = GANG_HIDEOUTS_RESPAWN_COOLDOWN;
