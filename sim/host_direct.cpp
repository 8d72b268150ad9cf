// The script functions of the host. In direct mode the test calls the plug-in's code on its own
// stack, so there is no fibre to suspend, and scriptWait runs the world forward itself; in fibre
// mode (sim/script_fibre.h) scriptWait suspends the script fibre instead.
#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>

#include "natives/slot.h"
#include "sim/script_fibre.h"
#include "sim/script_wait.h"
#include "sim/world.h"

namespace sim {

namespace {

consteval std::size_t hostFunction(std::string_view name) {
    for (std::size_t position = 0; position < hostFunctions.size(); ++position) {
        if (hostFunctions[position].name == name) return position;
    }
    throw "not a host function the call log records";
}

// A host function called between a native's nativeInit and its nativeCall: on the game's host
// the script's call context would be another script's by the time it resumed. The open call is
// dropped. In fibre mode the run stops once control is back with the host (the caller may be the
// plug-in's load or unload, which must not be unwound); in direct mode it is thrown.
[[gnu::cold, gnu::noinline]] void refuseWhileNativeOpen(std::size_t position) {
    std::string message = dropInterruptedNativeCall(hostFunctions[position].name);
    if (!fibreHostActive()) throw HostError(message);
    recordHostFailure(std::move(message));
}

void appendHostCall(std::size_t position, std::initializer_list<std::uint64_t> slots) {
    if (world().pendingCount != noCallOpen) refuseWhileNativeOpen(position);
    CallRecord& record = world().calls.emplace_back();
    stampCall(record);
    record.kind = static_cast<std::uint8_t>(nativeCatalogue.size() + position);
    record.slotCount = static_cast<std::uint8_t>(slots.size());
    std::copy(slots.begin(), slots.end(), record.slots.begin());
    record.results.fill(0);
}

// Runs the world to the frame at which a suspended script would resume.
void waitDirect(std::uint32_t ms) {
    const PendingWait wait{currentFrame(), currentTimeMs(), ms};
    do {
        advanceFrame();
    } while (!waitIsOver(wait, currentFrame(), currentTimeMs()));
}

}  // namespace

}  // namespace sim

extern "C" void scriptRegister(ModuleHandle module, ScriptEntry entry) {
    sim::appendHostCall(sim::hostFunction("scriptRegister"),
                        {pointerSlot(module), reinterpret_cast<std::uintptr_t>(entry)});
    sim::world().script = entry;
}

extern "C" void scriptUnregister(ModuleHandle module) {
    sim::appendHostCall(sim::hostFunction("scriptUnregister"), {pointerSlot(module)});
    sim::world().script.reset();
}

extern "C" void scriptWait(std::uint32_t ms) {
    sim::appendHostCall(sim::hostFunction("scriptWait"), {ms});
    if (sim::fibreHostActive()) {
        sim::suspendScript(ms);
        return;
    }
    sim::waitDirect(ms);
}
