// The encounter's process-wide state, in one object living from load to unload: the visit
// registry, the roster, the flags of the running encounter and the clock stamp of the last spawn.
// Only the script fibre touches it; a test starts afresh with `encounterState = EncounterState{}`.
#pragma once

#include <optional>

#include "encounter/game_clock_reading.h"
#include "encounter/gang_roster.h"
#include "encounter/visit_registry.h"
#include "host/host.h"

// A spawn that failed because the game never made the squad's model resident. The point is not
// tried again until the player has left its reach and come back, or an hour of game time passed.
struct FailedSpawn {
    Vector3 point;
    GameClockReading when;  // time of day only
};

// At load every flag is false and the clock stamp reads day 0, 0:00. Nothing of it is saved.
// The members are built in this order at load and destroyed in the reverse order at unload.
struct EncounterState {
    VisitRegistry visitRegistry;
    GangRoster gangRoster;

    bool encounterActive = false;   // a squad has spawned and neither the re-arm nor death ended it
    bool tauntDone = false;         // an approach taunt has played since the last re-arm
    bool firstKillHandled = false;  // a first-kill script has played since the last re-arm
    bool fightOverHandled = false;  // closing lines have played since the last re-arm

    // The game clock when the last squad spawned; only builds whose cooldown lasts a day or more
    // take its date.
    GameClockReading spawnStamp{};
    bool spawnStamped = false;       // a squad has spawned since load, so the stamp is a real one
    bool rearmedSinceStamp = false;  // the re-arm has run since the stamp was taken

    std::optional<FailedSpawn> failedSpawn;
};

extern EncounterState encounterState;
