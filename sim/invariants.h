// The plug-in's invariants, checked by the simulated game while the plug-in runs (a world
// option). The native handlers report what the plug-in does as it does it, and the frame advance
// checks what must hold between frames. A broken invariant stops the run with a message that
// names the frame, the rule and the ped or hideout point; until then nothing here makes text or
// allocates.
//
// What the host itself already refuses (a frame without a yield, a native outside the catalogue,
// a wrong number of argument slots) stops the run as a host error, invariants or not.
//
// Rules:
//   own peds        the plug-in deletes only peds it created, never a player's ped, never one twice
//   no leak         every ped it created is in the world and in its roster, deleted by it, or
//                   removed by the game (a squad still being created may be ahead of the roster)
//   one squad/tick  at most one squad spawns per tick
//   in reach        a squad stands in formation around a hideout point less than 50 m from where
//                   the plug-in last saw the player
//   armed           no squad while an encounter runs, unless the re-arm or the player's death has
//                   ended it since; none at a point visited since the last re-arm
//   lines           every line said is a compiled-in line, said by the player or a squad member
//   bounded memory  at most 87 registry entries; the roster no longer than the peds it holds
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "data/gang_profiles.h"
#include "host/host.h"

namespace sim {

// How a loaded plug-in reports its memory: copies up to `capacity` roster handles, oldest first,
// and gives the roster's length and the visit registry's entry count. Linux builds export it as
// GangHideoutsFootprint; direct-mode tests hand in their own.
using FootprintProbe = void (*)(Ped* roster, std::size_t capacity, std::size_t* rosterSize,
                                std::size_t* registryEntries);
inline constexpr const char* footprintProbeName = "GangHideoutsFootprint";

inline constexpr std::size_t hideoutPointCount = [] {
    std::size_t points = 0;
    for (const GangProfile& profile : gangProfiles) points += profile.hideouts.size();
    return points;
}();
inline constexpr std::size_t footprintRosterCapacity = 1024;

// What a run did, counted on the way; the soak's summary.
struct RunCounts {
    std::int64_t ticks = 0;
    std::int64_t squads = 0;
    std::int64_t membersCreated = 0;  // createPed calls that gave a ped
    std::int64_t membersDeleted = 0;  // deleteEntity calls on a ped that existed
    std::int64_t linesSaid = 0;
};

struct InvariantTracker {
    bool enabled = false;
    int cooldownMinutes = 0;
    FootprintProbe probe = nullptr;

    // The tick under way.
    std::int64_t createPedsThisTick = 0;
    bool playerSeen = false;
    Vector3 playerSeenAt{};
    int squadPoint = -1;  // index into the hideout table of the squad being created

    // The encounter as the plug-in must see it.
    bool encounterActive = false;
    bool stampPending = false;  // a squad was created; the next clock read is its stamp
    bool stamped = false;
    std::int64_t stampMinute = 0;  // game minutes since day 0 of the calendar
    std::array<bool, hideoutPointCount> visited{};

    std::int64_t createPedCalls = 0;
    std::int64_t deleteEntityCalls = 0;
    std::int64_t pedsInWorld = 0;  // created by the plug-in and still there

    RunCounts counts;
    std::array<Ped, footprintRosterCapacity> roster{};
};

// From the native handlers; each throws HostError when the plug-in breaks a rule.
void noteTickGate(bool skipFrame);
void notePlayerSeen(Vector3 position);  // entityCoords answered for the player's ped
void notePlayerDeadAnswer(bool dead);
void noteClockRead();  // clockMinutes answered
void noteCreatePed(Vector3 position, Ped created);
void noteDeleteEntity(Ped ped);  // before the game acts on it
void noteSpeech(Ped speaker, std::string_view line);
// From the world: a ped of the plug-in's left the world by the game's hand.
void notePedRemovedByGame();

// Between frames. Direct mode throws HostError; fibre mode records the failure, which stops the
// run before the script is resumed.
void checkFrameInvariants();

void setFootprintProbe(FootprintProbe probe);
RunCounts runCounts();

}  // namespace sim
