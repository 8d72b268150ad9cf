// How values travel through the host's 64-bit argument and result slots.
//
// 32-bit integers, handles, hashes and booleans go zero-extended; a float goes as its bit
// pattern in the low half with the high half zero; a pointer goes whole. Results are read from
// the low 32 bits of a slot.
#pragma once

#include <bit>
#include <cstdint>

static_assert(sizeof(void*) == 8, "the plug-in is 64-bit only: a pointer must fill one slot");

constexpr std::uint64_t intSlot(std::int32_t value) {
    return static_cast<std::uint32_t>(value);
}

constexpr std::uint64_t hashSlot(std::uint32_t value) {
    return value;
}

constexpr std::uint64_t boolSlot(bool value) {
    return value ? 1u : 0u;
}

constexpr std::uint64_t floatSlot(float value) {
    return std::bit_cast<std::uint32_t>(value);
}

inline std::uint64_t pointerSlot(const void* pointer) {
    return reinterpret_cast<std::uintptr_t>(pointer);
}

constexpr std::int32_t slotInt(std::uint64_t slot) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(slot));
}

constexpr std::uint32_t slotHash(std::uint64_t slot) {
    return static_cast<std::uint32_t>(slot);
}

// Only the low 32 bits carry the boolean; non-zero is true.
constexpr bool slotBool(std::uint64_t slot) {
    return static_cast<std::uint32_t>(slot) != 0;
}

constexpr float slotFloat(std::uint64_t slot) {
    return std::bit_cast<float>(static_cast<std::uint32_t>(slot));
}
