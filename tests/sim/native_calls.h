// Raw native calls for the simulated game's tests, pushed the way the plug-in pushes them.
#pragma once

#include <cstdint>

#include "host/host.h"
#include "natives/call.h"
#include "natives/catalogue.h"
#include "natives/slot.h"

namespace simtest {

inline Ped createPedAt(Hash model, Vector3 at) {
    return slotInt(callNative(native::createPed, hashSlot(model), floatSlot(at.x), floatSlot(at.y),
                              floatSlot(at.z), intSlot(0), intSlot(1), intSlot(1), intSlot(0),
                              intSlot(0))[0]);
}

inline void requestModel(Hash model) {
    callNative(native::requestModel, hashSlot(model), intSlot(0));
}

inline bool hasModelLoaded(Hash model) {
    return slotBool(callNative(native::hasModelLoaded, hashSlot(model))[0]);
}

inline Vector3 coordsOf(Ped entity) {
    const std::uint64_t* result =
        callNative(native::entityCoords, intSlot(entity), intSlot(1), intSlot(0));
    return {slotFloat(result[0]), slotFloat(result[1]), slotFloat(result[2])};
}

inline bool isEntityDead(Ped entity) {
    return slotBool(callNative(native::isEntityDead, intSlot(entity))[0]);
}

inline Hash entityModel(Ped entity) {
    return slotHash(callNative(native::entityModel, intSlot(entity))[0]);
}

inline void deleteEntity(Ped* handle) {
    callNative(native::deleteEntity, pointerSlot(handle));
}

inline std::int32_t randomIntInRange(std::int32_t lo, std::int32_t hi) {
    return slotInt(callNative(native::randomIntInRange, intSlot(lo), intSlot(hi))[0]);
}

inline std::int32_t clockNative(NativeHash hash) {
    return slotInt(callNative(hash)[0]);
}

}  // namespace simtest
