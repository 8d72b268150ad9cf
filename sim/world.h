// The simulated game's state: one process-wide World, as the host functions, the native
// handlers and the control interface all see it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "sim/control.h"
#include "sim/game_clock.h"
#include "sim/invariants.h"
#include "sim/random.h"

namespace sim {

// What fills a result slot before a native writes its answer, and the high halves of a position:
// a caller that reads more than the native gives sees this instead of a plausible zero.
inline constexpr std::uint64_t junkSlot = 0xDEADBEEFDEADBEEFull;
inline constexpr std::uint32_t junkHalf = 0xDEADBEEFu;

// pendingCount while no native call is being assembled.
inline constexpr std::size_t noCallOpen = static_cast<std::size_t>(-1);

// When a call happens, as its record says it; kept up to date by everything that moves the frame
// or the clock, so that logging a call copies it instead of working it out again.
struct CallStamp {
    std::int64_t frame = 0;
    std::int64_t timeMs = 0;
    int day = 0;
    int clockHours = 0;
    int clockMinutes = 0;
};

struct World {
    WorldOptions options;
    std::int64_t frame = 0;
    GameClock clock{};
    std::int64_t startDayNumber = 0;
    CallStamp stamp{};  // of frame and clock: refreshStamp() after changing either

    Ped playerPed = playerPedHandleValue;
    int laterPlayerPeds = 0;  // new characters given so far
    Vector3 playerPosition{};
    bool playerDead = false;
    bool gateSkipsFrames = false;

    std::vector<PedState> peds;                    // every created ped, creation order
    std::map<Hash, std::int64_t> residentAtFrame;  // requested models: frame they become resident
    std::set<Hash> unknownModels;                  // never become resident
    std::int32_t nextBlip = 1;

    Random random{};
    // Events by time; equal times keep the order they were scheduled in.
    std::multimap<std::int64_t, std::function<void()>> events;

    std::optional<ScriptEntry> script;
    // The native call being assembled between nativeInit and nativeCall: its catalogue index,
    // and the slots pushed so far. Its record is already the call log's last, and the pushes go
    // straight into its slots; it is stamped when the game answers. Pushes past the longest
    // argument list are counted, not kept: the call is refused for its slot count anyway.
    std::size_t pendingIndex = 0;
    std::size_t pendingCount = noCallOpen;
    LastNativeLookup lastLookup;

    // The call log, and the text its records read through pointers. Clearing keeps the memory,
    // so that a steady run of frames allocates nothing.
    std::vector<CallRecord> calls;
    std::string callText;
    std::size_t callTextMark = 0;  // where the text of the call being answered starts
    std::vector<SpeechRecord> speeches;

    InvariantTracker invariants;
};

// One world per process. A plain global, not a function-local static: every host function and
// native reaches it, many times a frame.
// Hidden on ELF: only the host library itself reaches the world, which then addresses it
// directly instead of through the global offset table.
#if defined(__ELF__)
__attribute__((visibility("hidden"))) extern World theWorld;
#else
extern World theWorld;
#endif
inline World& world() {
    return theWorld;
}

// Runs one frame: the frame-end invariants of the frame that ends (when asked), the frame
// counter, the game clock, then every scheduled event now due. Direct
// mode's scriptWait and runFrames are loops over this; a fibre host resumes its script after it.
void advanceFrame();

// A created ped by handle, existing or not; nullptr for a handle the game never gave out.
PedState* createdPed(Ped ped);
// A created ped that still exists; nullptr otherwise.
PedState* existingPed(Ped ped);

void refreshStamp(World& w);

// Stamps a record with the current frame, time and clock.
inline void stampCall(CallRecord& record) {
    const World& w = world();
    record.frame = w.stamp.frame;
    record.timeMs = w.stamp.timeMs;
    record.day = w.stamp.day;
    record.clockHours = w.stamp.clockHours;
    record.clockMinutes = w.stamp.clockMinutes;
}

// A native call left open (nativeInit without nativeCall) when something else happens: its
// record leaves the log, and it is no longer pending.
void dropOpenNativeCall();
// The same, for a caller that refuses what interrupted it: "INTERRUPTION while native ROLE (0x...)
// was never called", naming the open call before it is dropped.
std::string dropInterruptedNativeCall(std::string_view interruption);

}  // namespace sim
