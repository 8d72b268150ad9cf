// How the simulated game reads each native's argument slots and writes its result: the decoding
// behind the call log and the trace. Where the public database types a slot differently, the
// plug-in's own meaning holds (createPed's fifth slot and giveWeapon's twelfth are constants the
// plug-in pushes as integers).
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "natives/catalogue.h"

namespace sim {

enum class SlotKind : std::uint8_t {
    unused,         // past the native's last argument slot
    integer,        // handle, index, count, flag or boolean, as a signed 32-bit integer
    hash,           // 32-bit Hash
    floating,       // 32-bit float
    name,           // pointer to a NUL-terminated name
    speechRequest,  // pointer to a 64-byte speech request
    handlePointer,  // pointer to a 32-bit entity handle
};

enum class ResultKind : std::uint8_t { none, integer, hash, floating, boolean, position };

// The longest argument list in the catalogue.
inline constexpr std::size_t maxArgumentSlots = [] {
    std::size_t most = 0;
    for (const NativeInfo& info : nativeCatalogue) most = std::max(most, info.argumentSlots);
    return most;
}();

struct NativeSignature {
    NativeHash hash;
    std::array<SlotKind, maxArgumentSlots> slots;
    ResultKind result;
};

namespace slotKinds {
inline constexpr SlotKind i = SlotKind::integer;
inline constexpr SlotKind h = SlotKind::hash;
inline constexpr SlotKind f = SlotKind::floating;
}  // namespace slotKinds

// In catalogue order: a native's signature sits at its catalogue index.
// clang-format off
inline constexpr auto nativeSignatures = [] {
    using namespace slotKinds;
    using R = ResultKind;
    return std::to_array<NativeSignature>({
        {native::hashOfString, {SlotKind::name}, R::hash},
        {native::playerPed, {}, R::integer},
        {native::playerIndex, {}, R::integer},
        {native::isPlayerDead, {i}, R::boolean},
        {native::tickGate, {}, R::boolean},
        {native::entityCoords, {i, i, i}, R::position},
        {native::distanceBetween, {f, f, f, f, f, f, i}, R::floating},
        {native::clockHours, {}, R::integer},
        {native::clockMinutes, {}, R::integer},
        {native::clockDayOfMonth, {}, R::integer},
        {native::clockMonth, {}, R::integer},
        {native::clockYear, {}, R::integer},
        {native::isEntityDead, {i}, R::boolean},
        {native::entityModel, {i}, R::hash},
        {native::deleteEntity, {SlotKind::handlePointer}, R::none},
        {native::requestModel, {h, i}, R::none},
        {native::hasModelLoaded, {h}, R::boolean},
        {native::releaseModel, {h}, R::none},
        {native::createPed, {h, f, f, f, i, i, i, i, i}, R::integer},
        {native::newPedSetup, {i, i}, R::none},
        {native::setRelationshipGroup, {i, h}, R::none},
        {native::addBlipForEntity, {h, i}, R::integer},
        {native::setPedFlag, {i, i, i}, R::none},
        {native::setCombatAttribute, {i, i, i}, R::none},
        {native::giveWeapon, {i, h, i, i, i, i, i, f, f, h, i, i, i}, R::hash},
        {native::taskCombat, {i, i, i, i}, R::none},
        {native::randomIntInRange, {i, i}, R::integer},
        {native::playAmbientSpeech, {i, SlotKind::speechRequest}, R::boolean},
        {native::gameTimer, {}, R::integer},
    });
}();
// clang-format on

// A signature agrees with its catalogue row: the same native, and a kind for exactly the
// argument slots the catalogue counts.
constexpr bool signatureMatches(const NativeSignature& signature, const NativeInfo& info) {
    if (signature.hash != info.hash) return false;
    for (std::size_t slot = 0; slot < maxArgumentSlots; ++slot) {
        if ((signature.slots[slot] == SlotKind::unused) != (slot >= info.argumentSlots))
            return false;
    }
    return true;
}

constexpr bool signaturesMatchCatalogue() {
    if (nativeSignatures.size() != nativeCatalogue.size()) return false;
    for (std::size_t index = 0; index < nativeCatalogue.size(); ++index) {
        if (!signatureMatches(nativeSignatures[index], nativeCatalogue[index])) return false;
    }
    return true;
}
static_assert(signaturesMatchCatalogue(),
              "one signature per catalogue native, in catalogue order, with its slot count");

constexpr bool isPointer(SlotKind kind) {
    return kind == SlotKind::name || kind == SlotKind::speechRequest ||
           kind == SlotKind::handlePointer;
}

// The argument slot a native reads memory through (a name, a speech request, a handle), if any:
// the game must read it during the call, while the plug-in's memory is still there.
constexpr std::optional<std::size_t> pointerSlotOf(const NativeSignature& signature) {
    for (std::size_t slot = 0; slot < maxArgumentSlots; ++slot) {
        if (isPointer(signature.slots[slot])) return slot;
    }
    return std::nullopt;
}

constexpr bool atMostOnePointerEach() {
    for (const NativeSignature& signature : nativeSignatures) {
        if (std::count_if(signature.slots.begin(), signature.slots.end(), isPointer) > 1)
            return false;
    }
    return true;
}
static_assert(atMostOnePointerEach(), "a call record keeps what one pointer argument points at");

// The catalogue index of a hash, found in a few steps whatever the catalogue's length: an
// open-addressed table built at compile time. Every call the plug-in makes looks its native up.
inline constexpr std::size_t noNative = static_cast<std::size_t>(-1);

namespace detail {
inline constexpr std::size_t nativeIndexBits = std::bit_width(nativeCatalogue.size() * 2);
inline constexpr std::size_t nativeIndexSize = std::size_t{1} << nativeIndexBits;
static_assert(nativeCatalogue.size() < 0xFF, "catalogue indices fit a byte");

constexpr std::size_t bucketOf(NativeHash hash) {
    return static_cast<std::size_t>((hash * 0x9E3779B97F4A7C15ull) >> (64 - nativeIndexBits));
}

inline constexpr auto nativeIndexTable = [] {
    std::array<std::uint8_t, nativeIndexSize> table{};
    table.fill(0xFF);
    for (std::size_t index = 0; index < nativeCatalogue.size(); ++index) {
        std::size_t bucket = bucketOf(nativeCatalogue[index].hash);
        while (table[bucket] != 0xFF) bucket = (bucket + 1) % nativeIndexSize;
        table[bucket] = static_cast<std::uint8_t>(index);
    }
    return table;
}();
}  // namespace detail

constexpr std::size_t nativeIndexOf(NativeHash hash) {
    std::size_t bucket = detail::bucketOf(hash);
    while (detail::nativeIndexTable[bucket] != 0xFF) {
        const std::size_t index = detail::nativeIndexTable[bucket];
        if (nativeCatalogue[index].hash == hash) return index;
        bucket = (bucket + 1) % detail::nativeIndexSize;
    }
    return noNative;
}

// The last native looked up and its index: a tick asks the same native many times in a row (87
// distance queries), so a host keeps one of these and looks a hash up only when it changes.
struct LastNativeLookup {
    NativeHash hash = nativeCatalogue[0].hash;
    std::size_t index = 0;
};

// Makes last hold hash and its index; false for an unknown hash, which last does not take.
constexpr bool lookUpNative(LastNativeLookup& last, NativeHash hash) {
    if (hash == last.hash) return true;
    const std::size_t index = nativeIndexOf(hash);
    if (index == noNative) return false;
    last = {hash, index};
    return true;
}

constexpr bool everyNativeFound() {
    for (std::size_t index = 0; index < nativeCatalogue.size(); ++index) {
        if (nativeIndexOf(nativeCatalogue[index].hash) != index) return false;
    }
    return nativeIndexOf(0) == noNative;
}
static_assert(everyNativeFound(), "the hash table finds every catalogue native at its index");

}  // namespace sim
