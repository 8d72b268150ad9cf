// Reading the plug-in's memory through the pointers it pushes. A null pointer is a fault of the
// caller that the game would crash on; here it is a HostError.
#pragma once

#include <cstdint>
#include <string_view>

#include "host/host.h"

namespace sim {

struct SpeechRequestView {
    std::string_view line;
    std::string_view voice;
    std::int32_t variation;
};

std::string_view nameAt(std::uint64_t pointerSlot);
// Slot 0 points at the line name, slot 1 at the voice name, the low half of slot 2 is the
// variation; the other slots and every high half carry nothing the game reads.
SpeechRequestView speechRequestAt(std::uint64_t pointerSlot);
Ped handleAt(std::uint64_t pointerSlot);
void writeHandleAt(std::uint64_t pointerSlot, Ped handle);

}  // namespace sim
