// nativeInit, nativePush64 and nativeCall: the same in every host mode. A call is checked
// against the catalogue before the game answers it, and logged as raw slots once it has been
// answered; nothing is formatted unless something goes wrong.
#include <string>

#include "natives/catalogue.h"
#include "sim/call_log.h"
#include "sim/guest_memory.h"
#include "sim/native_handlers.h"
#include "sim/native_signatures.h"
#include "sim/script_fibre.h"
#include "sim/world.h"

namespace sim {

namespace {

std::string describe(NativeHash hash) {
    const std::size_t index = nativeIndexOf(hash);
    const std::string hex = hexText(hash, 16);
    return index == noNative ? "native " + hex
                             : "native " + std::string(nativeCatalogue[index].role) + " (" + hex + ")";
}

// What the native is about to read through its pointer argument, read first: the record keeps
// it, and a bad pointer is refused before the game acts on it.
Pointee readPointee(const NativeSignature& signature, std::size_t slot, std::uint64_t value) {
    Pointee pointee;
    switch (signature.slots[slot]) {
        case SlotKind::name:
            pointee.text = storeText(nameAt(value));
            break;
        case SlotKind::speechRequest: {
            const SpeechRequestView request = speechRequestAt(value);
            pointee.text = storeText(request.line);
            pointee.voice = storeText(request.voice);
            pointee.value = request.variation;
            break;
        }
        case SlotKind::handlePointer:
            pointee.value = handleAt(value);
            break;
        default:
            break;
    }
    return pointee;
}

// Per catalogue index, the argument slot read through a pointer; maxArgumentSlots for none.
inline constexpr auto pointerSlots = [] {
    std::array<std::size_t, nativeSignatures.size()> slots{};
    for (std::size_t index = 0; index < slots.size(); ++index) {
        slots[index] = pointerSlotOf(nativeSignatures[index]).value_or(maxArgumentSlots);
    }
    return slots;
}();

// The pending call is dropped before any error, so that a test that catches the error can go on
// calling natives.
void dropPendingCall(World& w) {
    w.callOpen = false;
    w.pendingCount = 0;
}

}  // namespace

}  // namespace sim

extern "C" void nativeInit(NativeHash hash) {
    if (sim::fibreHostActive()) sim::checkNativeCaller(hash);
    sim::World& w = sim::world();
    if (w.callOpen) {
        const std::string pending = sim::describe(nativeCatalogue[w.pendingIndex].hash);
        sim::dropPendingCall(w);
        throw sim::HostError("nativeInit of " + sim::describe(hash) + " while " + pending +
                             " was never called");
    }
    const std::size_t index = sim::nativeIndexOf(hash);
    if (index == sim::noNative) throw sim::HostError("unknown " + sim::describe(hash));
    w.callOpen = true;
    w.pendingIndex = index;
    w.pendingCount = 0;
}

extern "C" void nativePush64(std::uint64_t value) {
    sim::World& w = sim::world();
    if (!w.callOpen) throw sim::HostError("nativePush64 without nativeInit");
    if (w.pendingCount < w.pendingSlots.size()) w.pendingSlots[w.pendingCount] = value;
    ++w.pendingCount;
}

extern "C" std::uint64_t* nativeCall() {
    sim::World& w = sim::world();
    if (!w.callOpen) throw sim::HostError("nativeCall without nativeInit");
    const std::size_t index = w.pendingIndex;
    const std::size_t count = w.pendingCount;
    sim::dropPendingCall(w);
    const NativeInfo& info = nativeCatalogue[index];
    if (count != info.argumentSlots) {
        throw sim::HostError(sim::describe(info.hash) + " takes " +
                             std::to_string(info.argumentSlots) + " argument slots, got " +
                             std::to_string(count));
    }
    const std::span<const std::uint64_t> slots(w.pendingSlots.data(), count);
    const std::size_t textMark = w.callText.size();
    sim::Pointee pointee;
    try {
        if (const std::size_t slot = sim::pointerSlots[index]; slot < count) {
            pointee = sim::readPointee(sim::nativeSignatures[index], slot, slots[slot]);
        }
        w.results.fill(sim::junkSlot);
        sim::nativeHandlers[index](slots, w.results.data());
    } catch (const sim::HostError& error) {
        w.callText.resize(textMark);
        throw sim::HostError(sim::describe(info.hash) + ": " + error.what());
    }
    sim::CallRecord& record = sim::appendCall();
    record.kind = static_cast<std::uint8_t>(index);
    record.slotCount = static_cast<std::uint8_t>(count);
    record.name = info.role;
    record.hash = info.hash;
    std::copy(slots.begin(), slots.end(), record.slots.begin());
    record.results = w.results;
    record.pointee = pointee;
    return w.results.data();
}
