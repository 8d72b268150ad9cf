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

constexpr std::int32_t newPedSetupVariant = 0;

std::int32_t intResult(NativeHash hash) {
    return slotInt(callNative(hash)[0]);
}

}  // namespace

Hash hashOfName(const char* name) {
    return slotHash(callNative(native::hashOfString, pointerSlot(name))[0]);
}

Ped currentPlayerPed() {
    return intResult(native::playerPed);
}

std::int32_t currentPlayerIndex() {
    return intResult(native::playerIndex);
}

bool isPlayerDead(std::int32_t player) {
    return slotBool(callNative(native::isPlayerDead, intSlot(player))[0]);
}

bool tickGateClosed() {
    return slotBool(callNative(native::tickGate)[0]);
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

std::int32_t clockHours() {
    return intResult(native::clockHours);
}
std::int32_t clockMinutes() {
    return intResult(native::clockMinutes);
}
std::int32_t clockDayOfMonth() {
    return intResult(native::clockDayOfMonth);
}
std::int32_t clockMonth() {
    return intResult(native::clockMonth);
}
std::int32_t clockYear() {
    return intResult(native::clockYear);
}

bool isEntityDead(std::int32_t entity) {
    return slotBool(callNative(native::isEntityDead, intSlot(entity))[0]);
}

Hash entityModel(std::int32_t entity) {
    return slotHash(callNative(native::entityModel, intSlot(entity))[0]);
}

void deleteEntity(Ped* handle) {
    callNative(native::deleteEntity, pointerSlot(handle));
}

void requestModel(Hash model) {
    callNative(native::requestModel, hashSlot(model), intSlot(requestModelFlag));
}

bool hasModelLoaded(Hash model) {
    return slotBool(callNative(native::hasModelLoaded, hashSlot(model))[0]);
}

void releaseModel(Hash model) {
    callNative(native::releaseModel, hashSlot(model));
}

bool loadModel(Hash model) {
    requestModel(model);
    if (hasModelLoaded(model)) return true;
    // Unsigned arithmetic keeps the elapsed time right across a wrap of the timer.
    const auto start = static_cast<std::uint32_t>(gameTimer());
    for (;;) {
        scriptWait(0);
        if (hasModelLoaded(model)) return true;
        const std::uint32_t elapsed = static_cast<std::uint32_t>(gameTimer()) - start;
        if (elapsed >= static_cast<std::uint32_t>(modelLoadTimeoutMs)) return false;
    }
}

Ped createPed(Hash model, float x, float y, float z) {
    const std::uint64_t* result =
        callNative(native::createPed, hashSlot(model), floatSlot(x), floatSlot(y), floatSlot(z),
                   intSlot(createPedHeading), intSlot(createPedNetworked),
                   intSlot(createPedScriptHost), intSlot(createPedFlag7), intSlot(createPedFlag8));
    return slotInt(result[0]);
}

void newPedSetup(Ped ped) {
    callNative(native::newPedSetup, intSlot(ped), intSlot(newPedSetupVariant));
}

void setRelationshipGroup(Ped ped, Hash group) {
    callNative(native::setRelationshipGroup, intSlot(ped), hashSlot(group));
}

void addBlipForEntity(Hash blipStyle, std::int32_t entity) {
    callNative(native::addBlipForEntity, hashSlot(blipStyle), intSlot(entity));
}

void setPedFlag(Ped ped, std::int32_t flag, bool value) {
    callNative(native::setPedFlag, intSlot(ped), intSlot(flag), boolSlot(value));
}

void setCombatAttribute(Ped ped, std::int32_t attribute, bool value) {
    callNative(native::setCombatAttribute, intSlot(ped), intSlot(attribute), boolSlot(value));
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

void taskCombat(Ped ped, Ped target) {
    callNative(native::taskCombat, intSlot(ped), intSlot(target), intSlot(combatTaskFlags),
               intSlot(combatTaskThreshold));
}

std::int32_t gameTimer() {
    return intResult(native::gameTimer);
}

std::int32_t randomIntInRange(std::int32_t lower, std::int32_t upper) {
    return slotInt(callNative(native::randomIntInRange, intSlot(lower), intSlot(upper))[0]);
}

void playAmbientSpeech(Ped speaker, const SpeechRequest& request) {
    callNative(native::playAmbientSpeech, intSlot(speaker), pointerSlot(&request));
}
