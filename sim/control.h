// The simulated game's control interface: what tests and the simulator's command line use to set
// up a world, inject faults, run it and read back what the plug-in did.
//
// The same library implements the six host functions of host/host.h. In direct mode (the default
// after resetWorld) a test calls the plug-in's code on its own stack, and scriptWait(ms) runs the
// world forward by ms of frame time, firing scheduled events on the way, then returns.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "host/host.h"
#include "sim/native_signatures.h"

namespace sim {

// A host error stops the run: an unknown native, a wrong number of argument slots, a native
// called off the script fibre, a frame in which the script did not yield. The message names the
// native. In direct mode it is thrown out of the host function that found it.
struct HostError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct GameDate {
    int year = 1899;
    int month = 0;  // counted from 0
    int day = 1;    // day of the month, from 1
};

struct WorldOptions {
    std::uint64_t seed = 1;
    int modelLoadDelayFrames = 1;  // a requested model is resident this many frames later
    int pedPoolCap = 256;          // createPed answers 0 once this many created peds exist
    int framesPerGameMinute = 60;  // 2 s of frame time per game minute
    GameDate startDate{};
    int startHours = 8;
    int startMinutes = 0;
    Vector3 playerPosition{0.0f, 0.0f, 0.0f};
    // Check the plug-in's invariants as it runs (sim/invariants.h); a broken one stops the run.
    bool checkInvariants = false;
    // The loaded build's respawn cooldown in game minutes, for the invariants' re-arm rule; 0
    // when unknown, and then spawns are not held to the re-arm rule.
    int cooldownMinutes = 0;
};

// The host functions a call record can hold, after the catalogue's natives: a record's kind is a
// native's catalogue index, or nativeCatalogue.size() plus a position in this list.
struct HostFunctionInfo {
    std::string_view name;
    std::size_t tracedArguments;  // leading argument slots the trace shows, as integers
};
// The module and entry of scriptRegister and scriptUnregister are addresses that change from run
// to run: the trace shows no arguments for them, the raw slots keep them.
inline constexpr auto hostFunctions = std::to_array<HostFunctionInfo>({
    {"scriptRegister", 0},
    {"scriptUnregister", 0},
    {"scriptWait", 1},
});
inline constexpr std::size_t callKindCount = nativeCatalogue.size() + hostFunctions.size();
constexpr std::string_view callKindName(std::size_t kind) {
    return kind < nativeCatalogue.size() ? nativeCatalogue[kind].role
                                         : hostFunctions[kind - nativeCatalogue.size()].name;
}
// The kind of a native's role name or a host function's name; nullopt for any other name.
constexpr std::optional<std::size_t> callKindOf(std::string_view name) {
    for (std::size_t kind = 0; kind < callKindCount; ++kind) {
        if (callKindName(kind) == name) return kind;
    }
    return std::nullopt;
}

// The room the host gives a native's result: a position's three slots.
inline constexpr std::size_t resultSlotCount = 3;

// Text the game read through a pointer during a call, kept in the call log's text store until
// the log is cleared.
struct TextRef {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

// What a native read through its pointer argument, taken during the call: afterwards the memory
// may hold something else, or nothing.
struct Pointee {
    TextRef text;            // a name; the line of a speech request
    TextRef voice;           // the voice of a speech request
    std::int32_t value = 0;  // the variation of a speech request; the handle a handle pointer held
};

// One host or native call, in call order, as the game saw it: fixed size, raw slots. Text is made
// from it only where text is asked for (argsJson, resultJson, traceLine).
struct CallRecord {
    // Nothing but the pointee (empty, from its own initialisers) is initialised here: the host
    // sets every other field once as the call is made (nativeInit, nativePush64 and nativeCall;
    // the script functions), and a record is appended for every call the plug-in makes.
    CallRecord() {}

    // When.
    std::int64_t frame;
    std::int64_t timeMs;  // frame time since the start
    int day;              // midnights the game clock has passed since the start date
    int clockHours;
    int clockMinutes;
    std::uint8_t kind;  // see hostFunctions
    std::uint8_t slotCount;
    // Raw argument slots (host: the arguments); those past slotCount hold nothing to read.
    std::array<std::uint64_t, maxArgumentSlots> slots;
    std::array<std::uint64_t, resultSlotCount>
        results;  // as the native left them; 0 for a host call
    Pointee pointee;

    std::span<const std::uint64_t> arguments() const { return {slots.data(), slotCount}; }
    // Worked out from the kind, not stored: a record is written for every call.
    bool host() const { return kind >= nativeCatalogue.size(); }  // kind names a host function
    std::string_view name() const { return callKindName(kind); }
    NativeHash hash() const { return host() ? 0 : nativeCatalogue[kind].hash; }  // 0: host
};

// What a playAmbientSpeech call asked for, decoded when it was made.
struct SpeechRecord {
    std::int64_t frame;
    std::int64_t timeMs;
    Ped speaker;
    std::string line;
    std::string voice;
    std::int32_t variation;
};

// One giveWeapon call as the ped received it.
struct WeaponGift {
    Hash weapon;
    std::int32_t ammoCount;
    Hash ammoType;  // 0: none
};

struct PedState {
    Ped handle;
    Hash model;
    Vector3 position;
    bool dead;
    bool exists;  // false once deleted by the plug-in or removed by the game
    Hash relationshipGroup;
    int blips;
    std::vector<Hash> weapons;  // every weapon held, each once, in the order first given
    Ped combatTarget;
    int outfitSetups = 0;                             // newPedSetup calls
    std::map<std::int32_t, bool> flags{};             // setPedFlag: flag number -> last value
    std::map<std::int32_t, bool> combatAttributes{};  // setCombatAttribute: number -> last value
    std::vector<WeaponGift> weaponGifts{};            // every giveWeapon call, in order
    bool deletedByPlugin = false;                     // deleteEntity removed it (not the game)
};

// Fixed handles of the simulated game. Created peds are numbered from firstCreatedPed in
// creation order and a handle is never handed out twice, so a stale handle never aliases a
// newer ped. The player starts as playerPedHandleValue; each new character the game gives him
// (newPlayerPed) takes the next handle from firstLaterPlayerPed on.
inline constexpr Ped playerPedHandleValue = 1;
inline constexpr Ped firstLaterPlayerPed = 1'000'001;
inline constexpr std::int32_t playerIndexValue = 0;
inline constexpr Ped firstCreatedPed = 101;
inline constexpr std::string_view playerModelName = "player_zero";  // entityModel of the player

// What the game answers about an entity handle that does not exist (never created, deleted or
// removed): entityCoords the origin, isEntityDead true (a missing ped can no longer fight, and a
// caller that treats it as alive would wait on it forever), entityModel 0.
inline constexpr bool missingEntityDead = true;
inline constexpr Hash missingEntityModel = 0;

// A fresh world in direct mode: empty call log, no peds, the player alive at the given position.
void resetWorld(const WorldOptions& options = {});

// Controls.
void placePlayer(Vector3 position);
void setPlayerDead(bool dead);
void setGate(bool skipFrames);
void setClock(int hours, int minutes);  // time of day; the date stays
void advanceClock(int minutes);  // forward, across midnight into the next days; no frame runs
void setDate(GameDate date);
void setModelNeverLoads(std::string_view modelName);  // and evicts it if resident
void setModelLoads(std::string_view modelName);       // a model set to never load is known again
void setPedPoolCap(int cap);
// The player gets a new character (after a mission, say): a new ped handle, at the same place,
// alive. The old handle names nobody from now on. Returns the new handle.
Ped newPlayerPed();
void killPed(Ped ped);
void vanishPed(Ped ped);  // the game itself removes the ped
void movePed(Ped ped, Vector3 position);
// Direct mode: fn runs inside the scriptWait that carries frame time past atMs (an atMs already
// past runs in the next frame). Events due in the same frame run in the order scheduled.
void scheduleAt(std::int64_t atMs, std::function<void()> fn);
// Runs frames of world time without the script (direct mode: what scriptWait does inside).
void runFrames(std::int64_t frames);

// Queries.
const std::vector<CallRecord>& calls();
void clearCalls();
const std::vector<SpeechRecord>& speeches();
std::vector<Ped> createdPeds();  // every ped created by createPed, in creation order
std::optional<PedState> pedState(Ped ped);
int livingPedCount();        // created peds that exist and are alive
Ped playerPedHandle();       // the player's ped now
bool wasPlayerPed(Ped ped);  // the player's ped now or at any time before
std::int64_t currentFrame();
std::int64_t currentTimeMs();
// The simulated game runs at a steady frame rate.
inline constexpr std::int64_t framesPerSecond = 30;
std::int64_t frameTimeMs(std::int64_t frame);  // frame * 1000 / framesPerSecond, whole milliseconds
int gameDaysNow();  // midnights the game clock has passed since the start date
bool playerDeadNow();
// The entry given to scriptRegister and not unregistered since, if any.
std::optional<ScriptEntry> registeredScript();
int clockHoursNow();
int clockMinutesNow();
GameDate dateNow();

// The game's one-at-a-time hash of a name, ASCII letters lowercased first.
Hash gameHash(std::string_view name);

// Native answers: result slots a native does not fill hold 0xDEADBEEF junk, and so do the high
// halves of a position's slots, so that a caller reading past what the native gives notices.

// The text a record's pointee refers to; valid until the call log is cleared.
std::string_view textOf(TextRef text);

// One record as a line of the --trace file (JSON, no newline): when, which host function or
// native, the decoded arguments and, for a native, the decoded result.
std::string traceLine(const CallRecord& record);
// The same, with its newline, appended to out: the trace writer reuses one buffer.
void appendTraceLine(std::string& out, const CallRecord& record);
// The decoded arguments, a JSON array, and the decoded result, JSON ("null" for none).
std::string argsJson(const CallRecord& record);
std::string resultJson(const CallRecord& record);

}  // namespace sim
