// The 64-byte request the game's ambient-speech native reads, in the game's layout.
#pragma once

#include <cstddef>
#include <cstdint>

// A 32-bit value in the low half of an 8-byte slot; the high half is padding.
struct SpeechSlotInt {
    std::int32_t value;
    std::int32_t padding;
};

// Eight 8-byte little-endian slots, in the game's layout.
struct SpeechRequest {
    const char* lineName;   // NUL-terminated line name, a constant of the program
    const char* voiceName;  // always the shared empty string, never null
    SpeechSlotInt variation;
    SpeechSlotInt reserved[5];  // 0
};
static_assert(sizeof(SpeechRequest) == 64, "the game reads exactly eight 8-byte slots");
static_assert(offsetof(SpeechRequest, lineName) == 0);
static_assert(offsetof(SpeechRequest, voiceName) == 8);
static_assert(offsetof(SpeechRequest, variation) == 16);
static_assert(offsetof(SpeechRequest, reserved) == 24);
