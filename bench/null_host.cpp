#include "bench/null_host.h"

#include <array>

#include "encounter/encounter_state.h"
#include "natives/catalogue.h"
#include "natives/slot.h"
#include "sim/native_signatures.h"

namespace nullhost {

namespace {

using Row = std::array<std::uint64_t, 3>;

// One row of answers per catalogue native, made when the answers change: a call only looks its
// row up. createPed alone moves on, to a new handle each time.
struct State {
    Answers answers;
    std::array<Row, nativeCatalogue.size()> table{};
    std::size_t pending = 0;
    sim::LastNativeLookup lastLookup;  // as the simulated game keeps it
    std::int64_t calls = 0;
    Ped nextPed = 101;
};

State state;

constexpr std::size_t createPedIndex = sim::nativeIndexOf(native::createPed);

Row& rowOf(NativeHash hash) {
    return state.table[sim::nativeIndexOf(hash)];
}

void fillTable() {
    const Answers& a = state.answers;
    state.table = {};
    rowOf(native::tickGate)[0] = boolSlot(a.gate);
    rowOf(native::isPlayerDead)[0] = boolSlot(a.playerDead);
    rowOf(native::playerPed)[0] = intSlot(1);
    rowOf(native::playerIndex)[0] = intSlot(0);
    rowOf(native::entityCoords) = {floatSlot(a.coords.x), floatSlot(a.coords.y),
                                   floatSlot(a.coords.z)};
    rowOf(native::distanceBetween)[0] = floatSlot(a.distance);
    rowOf(native::clockHours)[0] = intSlot(a.clockHours);
    rowOf(native::clockMinutes)[0] = intSlot(a.clockMinutes);
    rowOf(native::isEntityDead)[0] = boolSlot(a.entityDead);
    rowOf(native::hasModelLoaded)[0] = boolSlot(true);
    rowOf(native::randomIntInRange)[0] = intSlot(1);
    // Everything else (hashes, blips, weapons) the plug-in does not read: 0.
}

}  // namespace

std::int64_t nativeCalls() {
    return state.calls;
}

void reset(const Answers& answers) {
    state = State{};
    state.answers = answers;
    fillTable();
}

void resetWithFreshPlugin(float distance) {
    Answers answers;
    answers.distance = distance;
    reset(answers);
    encounterState = EncounterState{};
}

}  // namespace nullhost

extern "C" {

void scriptRegister(ModuleHandle, ScriptEntry) {}
void scriptUnregister(ModuleHandle) {}
void scriptWait(std::uint32_t) {}

void nativeInit(NativeHash hash) {
    using nullhost::state;
    sim::lookUpNative(state.lastLookup, hash);
    state.pending = state.lastLookup.index;
}

void nativePush64(std::uint64_t) {}

std::uint64_t* nativeCall() {
    using nullhost::state;
    ++state.calls;
    if (state.pending == nullhost::createPedIndex)
        state.table[state.pending][0] = intSlot(state.nextPed++);
    return state.table[state.pending].data();
}

}  // extern "C"
