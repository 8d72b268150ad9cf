#include "encounter/tick_director.h"

#include <cstddef>

#include "data/gang_profiles.h"
#include "encounter/approach_taunt.h"
#include "encounter/encounter_state.h"
#include "encounter/fight_aftermath.h"
#include "encounter/game_queries.h"
#include "encounter/respawn_cooldown.h"
#include "encounter/squad_spawner.h"

namespace {

bool playerIsDead() {
    return isPlayerDead(currentPlayerIndex());
}

// Every member, alive or dead, oldest first.
void deleteWholeRoster() {
    while (!encounterState.gangRoster.empty()) deleteAndRemoveAt(encounterState.gangRoster, 0);
}

// Members, alive or dead, farther than farCullDistance from the player.
void cullFarMembers(const NativeVector3& player) {
    std::size_t position = 0;
    while (position < encounterState.gangRoster.size()) {
        if (distanceFrom(player, entityCoords(encounterState.gangRoster[position].ped)) >
            farCullDistance) {
            deleteAndRemoveAt(encounterState.gangRoster, position);
        } else {
            ++position;
        }
    }
}

bool samePoint(Vector3 a, Vector3 b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

// After a spawn failed at this point, it is tried again only once the player has left its reach
// and come back (which forgets the failure, see tick) or an hour of game time has passed: each
// try may hold the whole plug-in for the model wait.
bool retryHeldBack(Vector3 point) {
    const std::optional<FailedSpawn>& failed = encounterState.failedSpawn;
    if (!failed || !samePoint(failed->point, point)) return false;
    return elapsedMinutesOfDay(failed->when, readTimeOfDay()) < failedSpawnRetryMinutes;
}

// One list's match: spawn there when armed, then offer the taunt. A squad that could not be
// created keeps the taunt for the first squad that does spawn.
void visitMatch(const GangProfile& profile, Vector3 point) {
    // The registry is consulted only while no encounter runs: asking inserts an entry.
    if (!encounterState.encounterActive && !visitedFlag(encounterState.visitRegistry, point)) {
        if (retryHeldBack(point)) return;
        if (!spawnSquad(profile, point)) {
            encounterState.failedSpawn = FailedSpawn{point, readTimeOfDay()};
            return;
        }
        encounterState.failedSpawn.reset();
        encounterState.encounterActive = true;
        visitedFlag(encounterState.visitRegistry, point) = true;
        takeSpawnStamp(RespawnCooldown);
    }
    playApproachTaunt(profile, point);
}

}  // namespace

std::optional<Vector3> firstPointInReach(HideoutList hideouts, const NativeVector3& player) {
    for (const Vector3& point : hideouts) {
        if (distanceFrom(player, point) < triggerDistance) return point;
    }
    return std::nullopt;
}

void tick() {
    if (tickGateClosed()) return;
    cullFarDeadMembers();
    rearmIfDue();
    if (playerIsDead()) {
        deleteWholeRoster();
        encounterState.encounterActive = false;
        // Go on to the walk: a squad may spawn around the dead player's character.
    } else {
        cullFarMembers(playerPosition());
        if (encounterState.encounterActive) {
            checkFightOver();
            return;
        }
    }
    // One position for all six lists, even after a spawn has waited for seconds.
    const NativeVector3 player = playerPosition();
    bool failedPointInReach = false;
    for (const GangProfile& profile : gangProfiles) {
        if (const std::optional<Vector3> match = firstPointInReach(profile.hideouts, player)) {
            visitMatch(profile, *match);
            const std::optional<FailedSpawn>& failed = encounterState.failedSpawn;
            failedPointInReach |= failed && samePoint(failed->point, *match);
        }
    }
    // The player has left the point of a failed spawn: coming back tries it again.
    if (!failedPointInReach) encounterState.failedSpawn.reset();
    checkFightOver();
}
