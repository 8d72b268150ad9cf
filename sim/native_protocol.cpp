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

std::string slotCount(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " argument slot" : " argument slots");
}

// Per catalogue index, the argument slot read through a pointer; maxArgumentSlots for none.
inline constexpr auto pointerSlots = [] {
    std::array<std::size_t, nativeSignatures.size()> slots{};
    for (std::size_t index = 0; index < slots.size(); ++index) {
        slots[index] = pointerSlotOf(nativeSignatures[index]).value_or(maxArgumentSlots);
    }
    return slots;
}();

// The refusals, kept out of the protocol's path: it runs hundreds of times a frame, and message
// building would make every call pay for saving the registers it needs.
[[noreturn, gnu::cold, gnu::noinline]] void refuseInitWhilePending(NativeHash hash) {
    throw HostError(dropInterruptedNativeCall("nativeInit of " + describeNative(hash)));
}

[[noreturn, gnu::cold, gnu::noinline]] void refuseUnknown(NativeHash hash) {
    throw HostError("unknown " + describeNative(hash));
}

[[noreturn, gnu::cold, gnu::noinline]] void refuseOutOfOrder(const char* message) {
    throw HostError(message);
}

[[noreturn, gnu::cold, gnu::noinline]] void refuseSlotCount(std::size_t index, std::size_t count) {
    world().calls.pop_back();
    const NativeInfo& info = nativeCatalogue[index];
    throw HostError(describeNative(info.hash) + " takes " + slotCount(info.argumentSlots) +
                    ", got " + std::to_string(count));
}

// What the native is about to read through its pointer argument, read into the last record
// first: the record keeps it, and a bad pointer is refused before the game acts on it. Out of
// line: few natives take a pointer, and inlined it would make every call save the registers it
// needs.
[[gnu::noinline]] void readPointeeOfLastCall(std::size_t slot) {
    World& w = world();
    CallRecord& record = w.calls.back();
    const std::uint64_t value = record.slots[slot];
    w.callTextMark = w.callText.size();
    Pointee& pointee = record.pointee;
    switch (nativeSignatures[record.kind].slots[slot]) {
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
}

// The last call, refused by the game, is taken out of the log with any text it stored there; the
// error names the native.
[[noreturn, gnu::cold, gnu::noinline]] void takeBackLastCall(const HostError& error) {
    World& w = world();
    const CallRecord& record = w.calls.back();
    const NativeHash hash = nativeCatalogue[record.kind].hash;
    if (pointerSlots[record.kind] < record.slotCount) w.callText.resize(w.callTextMark);
    w.calls.pop_back();
    throw HostError(describeNative(hash) + ": " + error.what());
}

}  // namespace

// The pending call is dropped before any error, so that a test that catches the error can go on
// calling natives.
void dropOpenNativeCall() {
    World& w = world();
    if (w.pendingCount == noCallOpen) return;
    w.calls.pop_back();
    w.pendingCount = noCallOpen;
}

std::string dropInterruptedNativeCall(std::string_view interruption) {
    std::string message = std::string(interruption) + " while " +
                          describeNative(nativeCatalogue[world().pendingIndex].hash) +
                          " was never called";
    dropOpenNativeCall();
    return message;
}

}  // namespace sim

extern "C" void nativeInit(NativeHash hash) {
    sim::World& w = sim::world();
    if (w.pendingCount != sim::noCallOpen) sim::refuseInitWhilePending(hash);
    if (!sim::lookUpNative(w.lastLookup, hash)) sim::refuseUnknown(hash);
    // Kept in the world, not written into the record here: the index would then be held in a
    // register across the log's growth, which every call would pay for.
    w.pendingIndex = w.lastLookup.index;
    w.calls.emplace_back();
    w.pendingCount = 0;
    // Last, as a tail call that holds nothing across it: every native call passes it.
    sim::checkNativeCaller(hash);
}

extern "C" void nativePush64(std::uint64_t value) {
    sim::World& w = sim::world();
    const std::size_t count = w.pendingCount;
    if (count < sim::maxArgumentSlots) {
        w.calls.back().slots[count] = value;
        w.pendingCount = count + 1;
        return;
    }
    if (count == sim::noCallOpen) sim::refuseOutOfOrder("nativePush64 without nativeInit");
    w.pendingCount = count + 1;  // too many: counted for the message, not kept
}

extern "C" std::uint64_t* nativeCall() {
    sim::World& w = sim::world();
    const std::size_t count = w.pendingCount;
    if (count == sim::noCallOpen) sim::refuseOutOfOrder("nativeCall without nativeInit");
    const std::size_t index = w.pendingIndex;
    w.pendingCount = sim::noCallOpen;
    if (count != nativeCatalogue[index].argumentSlots) sim::refuseSlotCount(index, count);
    // The record holds the slots already; the pointer argument is read straight into it, and the
    // game answers into it. A call the game refuses leaves no record and no text behind. Nothing
    // of this call is held across the game's answer but what the world holds: the common path
    // then saves no registers.
    sim::CallRecord& record = w.calls.back();
    sim::stampCall(record);
    record.kind = static_cast<std::uint8_t>(index);
    record.slotCount = static_cast<std::uint8_t>(count);
    record.results.fill(sim::junkSlot);
    try {
        if (const std::size_t slot = sim::pointerSlots[index]; slot < count) {
            sim::readPointeeOfLastCall(slot);
        }
        sim::nativeHandlers[index](record.arguments(), record.results.data());
    } catch (const sim::HostError& error) {
        sim::takeBackLastCall(error);
    }
    // A handler never logs a call, so the record is still the last one. Its results are the
    // caller's until the next native call, as the game's host promises.
    return w.calls.back().results.data();
}
