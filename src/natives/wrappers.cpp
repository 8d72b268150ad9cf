#include "natives/wrappers.h"

#include <cstring>

#include "natives/call.h"
#include "natives/catalogue.h"
#include "natives/slot.h"

namespace {

// The game's fixed constants for the wrapped natives; their meaning is the game's.
constexpr std::int32_t createPedHeading = 0;
constexpr std::int32_t createPedNetworked = 1;
constexpr std::int32_t createPedScriptHost = 1;
constexpr std::int32_t createPedFlag7 = 0;
constexpr std::int32_t createPedFlag8 = 0;

constexpr std::int32_t combatTaskFlags = 0;
constexpr std::int32_t combatTaskThreshold = 16;

constexpr std::int32_t coordsAlive = 1;
constexpr std::int32_t coordsRealCoords = 0;

constexpr std::int32_t distanceIn3d = 1;

constexpr std::int32_t requestModelFlag = 0;

}  // namespace

Ped createPed(Hash model, float x, float y, float z) {
    const std::uint64_t* result =
        callNative(native::createPed, hashSlot(model), floatSlot(x), floatSlot(y), floatSlot(z),
                   intSlot(createPedHeading), intSlot(createPedNetworked),
                   intSlot(createPedScriptHost), intSlot(createPedFlag7), intSlot(createPedFlag8));
    return slotInt(result[0]);
}

bool loadModel(Hash model) {
    callNative(native::requestModel, hashSlot(model), intSlot(requestModelFlag));
    for (int poll = 1;; ++poll) {
        if (slotBool(callNative(native::hasModelLoaded, hashSlot(model))[0])) return true;
        if (poll == modelLoadPollLimit) return false;
        scriptWait(0);
    }
}

void taskCombat(Ped ped, Ped target) {
    callNative(native::taskCombat, intSlot(ped), intSlot(target), intSlot(combatTaskFlags),
               intSlot(combatTaskThreshold));
}

NativeVector3 entityCoords(std::int32_t entity) {
    const std::uint64_t* result = callNative(native::entityCoords, intSlot(entity),
                                             intSlot(coordsAlive), intSlot(coordsRealCoords));
    NativeVector3 position;
    std::memcpy(&position, result, sizeof position);
    return position;
}

float distanceBetween(float x1, float y1, float z1, float x2, float y2, float z2) {
    const std::uint64_t* result =
        callNative(native::distanceBetween, floatSlot(x1), floatSlot(y1), floatSlot(z1),
                   floatSlot(x2), floatSlot(y2), floatSlot(z2), intSlot(distanceIn3d));
    return slotFloat(result[0]);
}

void giveWeapon(Ped ped, Hash weapon, std::int32_t ammoCount, Hash ammoType) {
    constexpr std::int32_t forceInHand = 1;
    constexpr std::int32_t forceInHolster = 1;
    constexpr std::int32_t attachPoint = 1;
    constexpr std::int32_t allowMultipleCopies = 1;
    constexpr float weaponCondition = 1.0f;
    constexpr float weaponDegradation = 1.0f;
    constexpr std::int32_t ignoreUnlocks = 0;
    constexpr std::int32_t permanentDegradation = 0;
    constexpr std::int32_t giveWeaponFlag13 = 1;
    callNative(native::giveWeapon, intSlot(ped), hashSlot(weapon), intSlot(ammoCount),
               intSlot(forceInHand), intSlot(forceInHolster), intSlot(attachPoint),
               intSlot(allowMultipleCopies), floatSlot(weaponCondition),
               floatSlot(weaponDegradation), hashSlot(ammoType), intSlot(ignoreUnlocks),
               intSlot(permanentDegradation), intSlot(giveWeaponFlag13));
}
