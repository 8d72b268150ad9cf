#include "sim/native_handlers.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "natives/catalogue.h"
#include "natives/slot.h"
#include "sim/guest_memory.h"
#include "sim/invariants.h"
#include "sim/world.h"

namespace sim {

namespace {

// [SECTION] Player and frame

void answerHashOfString(std::span<const std::uint64_t> args, std::uint64_t* results) {
    results[0] = hashSlot(gameHash(nameAt(args[0])));
}

void answerPlayerPed(std::span<const std::uint64_t>, std::uint64_t* results) {
    results[0] = intSlot(world().playerPed);
}

void answerPlayerIndex(std::span<const std::uint64_t>, std::uint64_t* results) {
    results[0] = intSlot(playerIndexValue);
}

// There is one player; any other index names nobody, and nobody is not dead.
void answerIsPlayerDead(std::span<const std::uint64_t> args, std::uint64_t* results) {
    const bool dead = slotInt(args[0]) == playerIndexValue && world().playerDead;
    notePlayerDeadAnswer(dead);
    results[0] = boolSlot(dead);
}

void answerTickGate(std::span<const std::uint64_t>, std::uint64_t* results) {
    noteTickGate(world().gateSkipsFrames);
    results[0] = boolSlot(world().gateSkipsFrames);
}

// [SECTION] Positions

std::uint64_t positionSlot(float value) {
    return floatSlot(value) | std::uint64_t{junkHalf} << 32;
}

void answerEntityCoords(std::span<const std::uint64_t> args, std::uint64_t* results) {
    const Ped entity = slotInt(args[0]);
    Vector3 position{0.0f, 0.0f, 0.0f};
    if (entity == world().playerPed) {
        position = world().playerPosition;
        notePlayerSeen(position);
    } else if (const PedState* ped = existingPed(entity)) {
        position = ped->position;
    }
    results[0] = positionSlot(position.x);
    results[1] = positionSlot(position.y);
    results[2] = positionSlot(position.z);
}

void answerDistanceBetween(std::span<const std::uint64_t> args, std::uint64_t* results) {
    const float dx = slotFloat(args[3]) - slotFloat(args[0]);
    const float dy = slotFloat(args[4]) - slotFloat(args[1]);
    const float dz = slotBool(args[6]) ? slotFloat(args[5]) - slotFloat(args[2]) : 0.0f;
    results[0] = floatSlot(std::sqrt(dx * dx + dy * dy + dz * dz));
}

// [SECTION] Clock

// The game's timer runs with the frames: the frame time, in whole milliseconds.
void answerGameTimer(std::span<const std::uint64_t>, std::uint64_t* results) {
    results[0] = intSlot(static_cast<std::int32_t>(frameTimeMs(world().frame)));
}

void answerClockHours(std::span<const std::uint64_t>, std::uint64_t* results) {
    results[0] = intSlot(clockHoursNow());
}

void answerClockMinutes(std::span<const std::uint64_t>, std::uint64_t* results) {
    noteClockRead();
    results[0] = intSlot(clockMinutesNow());
}

void answerClockDayOfMonth(std::span<const std::uint64_t>, std::uint64_t* results) {
    results[0] = intSlot(dateNow().day);
}

void answerClockMonth(std::span<const std::uint64_t>, std::uint64_t* results) {
    results[0] = intSlot(dateNow().month);
}

void answerClockYear(std::span<const std::uint64_t>, std::uint64_t* results) {
    results[0] = intSlot(dateNow().year);
}

// [SECTION] Entities

void answerIsEntityDead(std::span<const std::uint64_t> args, std::uint64_t* results) {
    const Ped entity = slotInt(args[0]);
    bool dead = missingEntityDead;
    if (entity == world().playerPed) {
        dead = world().playerDead;
    } else if (const PedState* ped = existingPed(entity)) {
        dead = ped->dead;
    }
    results[0] = boolSlot(dead);
}

void answerEntityModel(std::span<const std::uint64_t> args, std::uint64_t* results) {
    const Ped entity = slotInt(args[0]);
    Hash model = missingEntityModel;
    if (entity == world().playerPed) {
        model = gameHash(playerModelName);
    } else if (const PedState* ped = existingPed(entity)) {
        model = ped->model;
    }
    results[0] = hashSlot(model);
}

// The player's character is not the script's to delete; the handle is cleared all the same, as
// the game clears it for any entity it was asked to delete.
void answerDeleteEntity(std::span<const std::uint64_t> args, std::uint64_t*) {
    noteDeleteEntity(handleAt(args[0]));
    if (PedState* ped = createdPed(handleAt(args[0]))) ped->deletedByPlugin = true;
    if (PedState* ped = existingPed(handleAt(args[0]))) {
        ped->exists = false;
        ped->blips = 0;
    }
    writeHandleAt(args[0], 0);
}

// [SECTION] Model streaming

bool modelResident(Hash model) {
    const World& w = world();
    const auto request = w.residentAtFrame.find(model);
    return request != w.residentAtFrame.end() && w.frame >= request->second;
}

// A second request while the model streams or is resident changes nothing; a model the game
// does not know is never scheduled at all.
void answerRequestModel(std::span<const std::uint64_t> args, std::uint64_t*) {
    World& w = world();
    const Hash model = slotHash(args[0]);
    if (w.unknownModels.contains(model)) return;
    w.residentAtFrame.try_emplace(model, w.frame + w.options.modelLoadDelayFrames);
}

void answerHasModelLoaded(std::span<const std::uint64_t> args, std::uint64_t* results) {
    results[0] = boolSlot(modelResident(slotHash(args[0])));
}

// The game may evict a model as soon as no script needs it; evicting at once makes a plug-in
// that releases a model before it is done with it fail here, not only on a busy machine. A model
// that peds in the world still wear stays resident, as in the game: a squad releases its model
// after each member it creates and goes on creating members from it.
void answerReleaseModel(std::span<const std::uint64_t> args, std::uint64_t*) {
    World& w = world();
    const Hash model = slotHash(args[0]);
    const bool worn = std::any_of(w.peds.begin(), w.peds.end(), [model](const PedState& ped) {
        return ped.exists && ped.model == model;
    });
    if (!worn) w.residentAtFrame.erase(model);
}

// [SECTION] Peds

void answerCreatePed(std::span<const std::uint64_t> args, std::uint64_t* results) {
    World& w = world();
    const Hash model = slotHash(args[0]);
    const auto inPool =
        std::count_if(w.peds.begin(), w.peds.end(), [](const PedState& ped) { return ped.exists; });
    const Vector3 position{slotFloat(args[1]), slotFloat(args[2]), slotFloat(args[3])};
    if (!modelResident(model) || inPool >= w.options.pedPoolCap) {
        noteCreatePed(position, 0);
        results[0] = intSlot(0);
        return;
    }
    const Ped handle = firstCreatedPed + static_cast<Ped>(w.peds.size());
    w.peds.push_back(PedState{
        .handle = handle,
        .model = model,
        .position = position,
        .dead = false,
        .exists = true,
        .relationshipGroup = 0,
        .blips = 0,
        .weapons = {},
        .combatTarget = 0,
    });
    noteCreatePed(position, handle);
    results[0] = intSlot(handle);
}

// The setup natives act on a ped that exists and are ignored for any other handle, as the game
// ignores them.
void answerNewPedSetup(std::span<const std::uint64_t> args, std::uint64_t*) {
    if (PedState* ped = existingPed(slotInt(args[0]))) ++ped->outfitSetups;
}

void answerSetRelationshipGroup(std::span<const std::uint64_t> args, std::uint64_t*) {
    if (PedState* ped = existingPed(slotInt(args[0]))) ped->relationshipGroup = slotHash(args[1]);
}

// A blip needs an entity to sit on; for a missing one the game hands back no blip (0).
void answerAddBlipForEntity(std::span<const std::uint64_t> args, std::uint64_t* results) {
    World& w = world();
    const Ped entity = slotInt(args[1]);
    PedState* ped = existingPed(entity);
    if (ped == nullptr && entity != w.playerPed) {
        results[0] = intSlot(0);
        return;
    }
    if (ped != nullptr) ++ped->blips;
    results[0] = intSlot(w.nextBlip++);
}

void answerSetPedFlag(std::span<const std::uint64_t> args, std::uint64_t*) {
    if (PedState* ped = existingPed(slotInt(args[0])))
        ped->flags[slotInt(args[1])] = slotBool(args[2]);
}

void answerSetCombatAttribute(std::span<const std::uint64_t> args, std::uint64_t*) {
    if (PedState* ped = existingPed(slotInt(args[0]))) {
        ped->combatAttributes[slotInt(args[1])] = slotBool(args[2]);
    }
}

void answerGiveWeapon(std::span<const std::uint64_t> args, std::uint64_t* results) {
    const Hash weapon = slotHash(args[1]);
    if (PedState* ped = existingPed(slotInt(args[0]))) {
        ped->weaponGifts.push_back(WeaponGift{
            .weapon = weapon, .ammoCount = slotInt(args[2]), .ammoType = slotHash(args[9])});
        if (std::find(ped->weapons.begin(), ped->weapons.end(), weapon) == ped->weapons.end()) {
            ped->weapons.push_back(weapon);
        }
    }
    results[0] = hashSlot(weapon);
}

void answerTaskCombat(std::span<const std::uint64_t> args, std::uint64_t*) {
    if (PedState* ped = existingPed(slotInt(args[0]))) ped->combatTarget = slotInt(args[1]);
}

// [SECTION] Random and speech

void answerRandomIntInRange(std::span<const std::uint64_t> args, std::uint64_t* results) {
    results[0] = intSlot(randomInRange(world().random, slotInt(args[0]), slotInt(args[1])));
}

void answerPlayAmbientSpeech(std::span<const std::uint64_t> args, std::uint64_t* results) {
    World& w = world();
    const SpeechRequestView request = speechRequestAt(args[1]);
    noteSpeech(slotInt(args[0]), request.line);
    w.speeches.push_back(SpeechRecord{
        .frame = w.frame,
        .timeMs = frameTimeMs(w.frame),
        .speaker = slotInt(args[0]),
        .line = std::string(request.line),
        .voice = std::string(request.voice),
        .variation = request.variation,
    });
    results[0] = boolSlot(true);
}

struct HandlerEntry {
    NativeHash hash;
    NativeHandler handler;
};

// In catalogue order, one row each; checked below.
constexpr auto handlerEntries = std::to_array<HandlerEntry>({
    {native::hashOfString, answerHashOfString},
    {native::playerPed, answerPlayerPed},
    {native::playerIndex, answerPlayerIndex},
    {native::isPlayerDead, answerIsPlayerDead},
    {native::tickGate, answerTickGate},
    {native::entityCoords, answerEntityCoords},
    {native::distanceBetween, answerDistanceBetween},
    {native::clockHours, answerClockHours},
    {native::clockMinutes, answerClockMinutes},
    {native::clockDayOfMonth, answerClockDayOfMonth},
    {native::clockMonth, answerClockMonth},
    {native::clockYear, answerClockYear},
    {native::isEntityDead, answerIsEntityDead},
    {native::entityModel, answerEntityModel},
    {native::deleteEntity, answerDeleteEntity},
    {native::requestModel, answerRequestModel},
    {native::hasModelLoaded, answerHasModelLoaded},
    {native::releaseModel, answerReleaseModel},
    {native::createPed, answerCreatePed},
    {native::newPedSetup, answerNewPedSetup},
    {native::setRelationshipGroup, answerSetRelationshipGroup},
    {native::addBlipForEntity, answerAddBlipForEntity},
    {native::setPedFlag, answerSetPedFlag},
    {native::setCombatAttribute, answerSetCombatAttribute},
    {native::giveWeapon, answerGiveWeapon},
    {native::taskCombat, answerTaskCombat},
    {native::randomIntInRange, answerRandomIntInRange},
    {native::playAmbientSpeech, answerPlayAmbientSpeech},
    {native::gameTimer, answerGameTimer},
});

constexpr bool handlersMatchCatalogue() {
    if (handlerEntries.size() != nativeCatalogue.size()) return false;
    for (std::size_t index = 0; index < nativeCatalogue.size(); ++index) {
        if (handlerEntries[index].hash != nativeCatalogue[index].hash) return false;
        if (handlerEntries[index].handler == nullptr) return false;
    }
    return true;
}
static_assert(handlersMatchCatalogue(), "one handler per catalogue native, in catalogue order");

}  // namespace

const std::array<NativeHandler, nativeCatalogue.size()> nativeHandlers = [] {
    std::array<NativeHandler, nativeCatalogue.size()> table{};
    for (std::size_t index = 0; index < table.size(); ++index)
        table[index] = handlerEntries[index].handler;
    return table;
}();

}  // namespace sim
