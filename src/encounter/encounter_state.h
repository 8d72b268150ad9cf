// The encounter's process-wide state: the visit registry, the roster and the flags of the
// running encounter, all living from load to unload. Only the script fibre touches them.
#pragma once

#include <cstdint>

#include "encounter/gang_roster.h"
#include "encounter/visit_registry.h"

// Plain data in zero-filled static storage: at load every flag is false and the clock stamp reads
// day 0, 0:00. Nothing of it is saved.
struct EncounterState {
    bool encounterActive;   // a squad has spawned and neither the re-arm nor the death ended it
    bool tauntDone;         // an approach taunt has played since the last re-arm
    bool firstKillHandled;  // a first-kill script has played since the last re-arm
    bool fightOverHandled;  // closing lines have played since the last re-arm

    // The game clock when the last squad spawned.
    std::int32_t spawnClockHours;    // hour of the day, 0..23
    std::int32_t spawnClockMinutes;  // minute of the hour, 0..59
    // The calendar date of that stamp; only builds whose cooldown lasts a day or more take it.
    std::int32_t spawnDayOfMonth;  // from 1
    std::int32_t spawnMonth;       // from 0
    std::int32_t spawnYear;
    bool spawnStamped;         // a squad has spawned since load, so the stamp is a real one
    bool rearmedSinceStamp;    // the re-arm has run since the stamp was taken
};

// Defined in one translation unit, in this order, so they are built in this order at load and
// destroyed in the reverse order at unload.
extern VisitRegistry visitRegistry;
extern GangRoster gangRoster;
extern EncounterState encounterState;
