#include "sim/guest_memory.h"

#include <cstring>

#include "natives/slot.h"
#include "sim/control.h"

namespace sim {

namespace {

void* pointerIn(std::uint64_t slot, const char* what) {
    if (slot == 0) throw HostError(std::string("null pointer to ") + what);
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(slot));
}

}  // namespace

std::string_view nameAt(std::uint64_t pointerSlot) {
    return static_cast<const char*>(pointerIn(pointerSlot, "a name"));
}

SpeechRequestView speechRequestAt(std::uint64_t pointerSlot) {
    std::uint64_t slots[3];
    std::memcpy(slots, pointerIn(pointerSlot, "the speech request"), sizeof slots);
    return SpeechRequestView{
        .line = static_cast<const char*>(pointerIn(slots[0], "the speech request's line name")),
        .voice = static_cast<const char*>(pointerIn(slots[1], "the speech request's voice name")),
        .variation = slotInt(slots[2]),
    };
}

Ped handleAt(std::uint64_t pointerSlot) {
    Ped handle;
    std::memcpy(&handle, pointerIn(pointerSlot, "the entity handle"), sizeof handle);
    return handle;
}

void writeHandleAt(std::uint64_t pointerSlot, Ped handle) {
    std::memcpy(pointerIn(pointerSlot, "the entity handle"), &handle, sizeof handle);
}

}  // namespace sim
