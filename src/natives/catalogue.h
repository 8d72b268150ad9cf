// Every game native the plug-in calls, by role name: hash, argument slots in push order, and
// what the result means. The game's own meaning of the constants pushed is the game's business;
// the plug-in relies only on the effects and results noted here.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "host/host.h"

namespace native {

// name pointer -> Hash of the name (the game lowercases ASCII letters first)
constexpr NativeHash hashOfString = 0xFD340785ADF8CFB7;
// () -> Ped of the player's character
constexpr NativeHash playerPed = 0x096275889B8E0EE0;
// () -> player index
constexpr NativeHash playerIndex = 0x217E9DC48139933D;
// (player index) -> boolean, the player is dead
constexpr NativeHash isPlayerDead = 0x2E9C3FCB6798F397;
// () -> boolean; true means the game wants this frame left alone
constexpr NativeHash tickGate = 0xB15CD1CF58771DE1;
// (entity, 1, 0) -> position in the first three slots
constexpr NativeHash entityCoords = 0xA86D5F069399F44D;
// (x1, y1, z1, x2, y2, z2 as floats, 1 = in 3-D) -> float, metres
constexpr NativeHash distanceBetween = 0x0BE7F4E3CDBAFB28;
// () -> hour of the game clock, 0..23
constexpr NativeHash clockHours = 0xC82CF208C2B19199;
// () -> minute of the game clock's hour, 0..59
constexpr NativeHash clockMinutes = 0x4E162231B823DBBF;
// () -> day of the month of the game calendar, from 1
constexpr NativeHash clockDayOfMonth = 0xDF2FD796C54480A5;
// () -> month of the game calendar, counted from 0
constexpr NativeHash clockMonth = 0x2D44E8FC79EAB1AC;
// () -> year of the game calendar
constexpr NativeHash clockYear = 0xE136DCA28C4A48BA;
// (entity) -> boolean, the entity is dead
constexpr NativeHash isEntityDead = 0x7D5B1F88E7504BBA;
// (entity) -> model Hash
constexpr NativeHash entityModel = 0xDA76A9F39210D365;
// (pointer to the handle) -> none; the game may write through the pointer
constexpr NativeHash deleteEntity = 0x4CD38C78BD19A497;
// (model, 0) -> none; starts streaming the model in
constexpr NativeHash requestModel = 0xFA28FE3A6246FC30;
// (model) -> boolean, the model is resident
constexpr NativeHash hasModelLoaded = 0x1283B8B89DD5D1B6;
// (model) -> none; the script no longer needs the model
constexpr NativeHash releaseModel = 0x4AD96EF928BD4F9A;
// (model, x, y, z as floats, 0, 1, 1, 0, 0) -> Ped of the new character, 0 when none
constexpr NativeHash createPed = 0xD49F9B0955C367DE;
// (ped, 0) -> none; gives a new character its outfit
constexpr NativeHash newPedSetup = 0xC8A9481A01E63C28;
// (ped, group Hash) -> none
constexpr NativeHash setRelationshipGroup = 0xC80A74AC829DDD92;
// (blip style Hash, entity) -> blip handle, not kept
constexpr NativeHash addBlipForEntity = 0x23F74C2FDA6E7C61;
// (ped, flag number, value) -> none
constexpr NativeHash setPedFlag = 0x1913FE4CBF41C463;
// (ped, attribute number, value) -> none
constexpr NativeHash setCombatAttribute = 0x9F7794730795E019;
// (ped, weapon, ammo count, 1, 1, 1, 1, 1.0f, 1.0f, ammo type or 0, 0, 0, 1) -> not used
constexpr NativeHash giveWeapon = 0x5E3BDDBCB83F3D84;
// (ped, target ped, 0, 16) -> none
constexpr NativeHash taskCombat = 0xF166E48407BAC484;
// (lower, upper) -> integer drawn by the game
constexpr NativeHash randomIntInRange = 0xD53343AA4FB7DD28;
// (speaker ped, pointer to a 64-byte SpeechRequest) -> not used
constexpr NativeHash playAmbientSpeech = 0x8E04FEDD28D42462;
// () -> milliseconds of game time, an integer that keeps running while the script waits
constexpr NativeHash gameTimer = 0x4F67E8ECA7D3F667;

}  // namespace native

struct NativeInfo {
    std::string_view role;
    NativeHash hash;
    std::size_t argumentSlots;
};

// The same natives as a table, for whoever must check or answer calls by hash. The rows set the
// table's length; the simulated game's signatures and handlers are checked against it at compile
// time (one row each, in this order), and the native reference (natives-reference.json) holds
// exactly these natives.
inline constexpr auto nativeCatalogue = std::to_array<NativeInfo>({
    {"hashOfString", native::hashOfString, 1},
    {"playerPed", native::playerPed, 0},
    {"playerIndex", native::playerIndex, 0},
    {"isPlayerDead", native::isPlayerDead, 1},
    {"tickGate", native::tickGate, 0},
    {"entityCoords", native::entityCoords, 3},
    {"distanceBetween", native::distanceBetween, 7},
    {"clockHours", native::clockHours, 0},
    {"clockMinutes", native::clockMinutes, 0},
    {"clockDayOfMonth", native::clockDayOfMonth, 0},
    {"clockMonth", native::clockMonth, 0},
    {"clockYear", native::clockYear, 0},
    {"isEntityDead", native::isEntityDead, 1},
    {"entityModel", native::entityModel, 1},
    {"deleteEntity", native::deleteEntity, 1},
    {"requestModel", native::requestModel, 2},
    {"hasModelLoaded", native::hasModelLoaded, 1},
    {"releaseModel", native::releaseModel, 1},
    {"createPed", native::createPed, 9},
    {"newPedSetup", native::newPedSetup, 2},
    {"setRelationshipGroup", native::setRelationshipGroup, 2},
    {"addBlipForEntity", native::addBlipForEntity, 2},
    {"setPedFlag", native::setPedFlag, 3},
    {"setCombatAttribute", native::setCombatAttribute, 3},
    {"giveWeapon", native::giveWeapon, 13},
    {"taskCombat", native::taskCombat, 4},
    {"randomIntInRange", native::randomIntInRange, 2},
    {"playAmbientSpeech", native::playAmbientSpeech, 2},
    {"gameTimer", native::gameTimer, 0},
});

// No two rows name the same native.
constexpr bool catalogueHashesDistinct() {
    for (std::size_t i = 0; i < nativeCatalogue.size(); ++i) {
        for (std::size_t j = i + 1; j < nativeCatalogue.size(); ++j) {
            if (nativeCatalogue[i].hash == nativeCatalogue[j].hash) return false;
        }
    }
    return true;
}
static_assert(catalogueHashesDistinct(), "two catalogue rows share a hash");

// The catalogue entry for a hash, or nullptr for a native the plug-in never calls.
constexpr const NativeInfo* findNative(NativeHash hash) {
    for (const NativeInfo& info : nativeCatalogue) {
        if (info.hash == hash) return &info;
    }
    return nullptr;
}
