// How the simulated game reads each native's argument slots and writes its result: the decoding
// behind the call log and the trace. Where the public database types a slot differently, the
// plug-in's own meaning holds (createPed's fifth slot and giveWeapon's twelfth are constants the
// plug-in pushes as integers).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

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

inline constexpr std::size_t maxArgumentSlots = 13;

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

// clang-format off
inline constexpr std::array<NativeSignature, 29> nativeSignatures = [] {
    using namespace slotKinds;
    using R = ResultKind;
    return std::array<NativeSignature, 29>{{
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
    }};
}();
// clang-format on

constexpr const NativeSignature* findSignature(NativeHash hash) {
    for (const NativeSignature& signature : nativeSignatures) {
        if (signature.hash == hash) return &signature;
    }
    return nullptr;
}

}  // namespace sim
