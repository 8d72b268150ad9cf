// nativeInit, nativePush64 and nativeCall: the same in every host mode. A call is checked
// against the catalogue before the game answers it, and logged once it has been answered.
#include <string>
#include <utility>

#include "natives/catalogue.h"
#include "sim/call_log.h"
#include "sim/native_handlers.h"
#include "sim/native_signatures.h"
#include "sim/script_fibre.h"
#include "sim/world.h"

namespace sim {

namespace {

std::string describe(NativeHash hash) {
    const NativeInfo* info = findNative(hash);
    const std::string hex = hexText(hash, 16);
    return info == nullptr ? "native " + hex
                           : "native " + std::string(info->role) + " (" + hex + ")";
}

// The pending call is dropped before any error, so that a test that catches the error can go on
// calling natives.
std::pair<NativeHash, std::vector<std::uint64_t>> takePendingCall() {
    World& w = world();
    if (!w.pendingNative) throw HostError("nativeCall without nativeInit");
    const NativeHash hash = *w.pendingNative;
    std::vector<std::uint64_t> slots = std::move(w.pendingSlots);
    w.pendingNative.reset();
    w.pendingSlots.clear();
    return {hash, std::move(slots)};
}

}  // namespace

}  // namespace sim

extern "C" void nativeInit(NativeHash hash) {
    if (sim::fibreHostActive()) sim::checkNativeCaller(hash);
    sim::World& w = sim::world();
    if (w.pendingNative) {
        const std::string pending = sim::describe(*w.pendingNative);
        w.pendingNative.reset();
        w.pendingSlots.clear();
        throw sim::HostError("nativeInit of " + sim::describe(hash) + " while " + pending +
                             " was never called");
    }
    if (findNative(hash) == nullptr) throw sim::HostError("unknown " + sim::describe(hash));
    w.pendingNative = hash;
}

extern "C" void nativePush64(std::uint64_t value) {
    sim::World& w = sim::world();
    if (!w.pendingNative) throw sim::HostError("nativePush64 without nativeInit");
    w.pendingSlots.push_back(value);
}

extern "C" std::uint64_t* nativeCall() {
    auto [hash, slots] = sim::takePendingCall();
    sim::World& w = sim::world();
    const NativeInfo& info = *findNative(hash);
    if (slots.size() != info.argumentSlots) {
        throw sim::HostError(sim::describe(hash) + " takes " + std::to_string(info.argumentSlots) +
                             " argument slots, got " + std::to_string(slots.size()));
    }
    const sim::NativeSignature& signature = *sim::findSignature(hash);
    sim::CallRecord record{
        .host = false,
        .name = std::string(info.role),
        .hash = hash,
        .slots = slots,
        .argsJson = {},
        .resultJson = {},
    };
    try {
        record.argsJson = sim::decodeArguments(signature, slots);
        w.results.fill(sim::junkSlot);
        sim::findHandler(hash)(slots, w.results.data());
    } catch (const sim::HostError& error) {
        throw sim::HostError(sim::describe(hash) + ": " + error.what());
    }
    record.resultJson = sim::decodeResult(signature.result, w.results.data());
    sim::appendCall(std::move(record));
    return w.results.data();
}
