// The script functions of the host. In direct mode the test calls the plug-in's code on its own
// stack, so there is no fibre to suspend, and scriptWait runs the world forward itself; in fibre
// mode (sim/script_fibre.h) scriptWait suspends the script fibre instead.
#include <string>

#include "natives/slot.h"
#include "sim/script_fibre.h"
#include "sim/script_wait.h"
#include "sim/world.h"

namespace sim {

namespace {

void appendHostCall(const char* name, std::vector<std::uint64_t> slots, std::string argsJson) {
    appendCall(CallRecord{
        .host = true,
        .name = name,
        .slots = std::move(slots),
        .argsJson = std::move(argsJson),
        .resultJson = "null",
    });
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

// The module and entry are addresses that change from run to run; the trace shows no arguments
// for them, the raw slots keep them.
extern "C" void scriptRegister(ModuleHandle module, ScriptEntry entry) {
    sim::appendHostCall("scriptRegister",
                        {pointerSlot(module), reinterpret_cast<std::uintptr_t>(entry)}, "[]");
    sim::world().script = entry;
}

extern "C" void scriptUnregister(ModuleHandle module) {
    sim::appendHostCall("scriptUnregister", {pointerSlot(module)}, "[]");
    sim::world().script.reset();
}

extern "C" void scriptWait(std::uint32_t ms) {
    sim::appendHostCall("scriptWait", {ms}, "[" + std::to_string(ms) + "]");
    if (sim::fibreHostActive()) {
        sim::suspendScript(ms);
        return;
    }
    sim::waitDirect(ms);
}
