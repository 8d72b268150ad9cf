// The script host as the plug-in sees it: six C functions and the handle types of the game.
//
// Which host answers these calls is decided at link time: the game's script host in the
// Windows builds, the simulated game's host library on Linux and in the unit tests.
#pragma once

#include <cstdint>

using Hash = std::uint32_t;        // the game's 32-bit hash of a name (model, group, weapon, ...)
using Ped = std::int32_t;          // the game's 32-bit handle of a character
using NativeHash = std::uint64_t;  // 64-bit identifier of a game native

// A world position in metres; z is the height.
struct Vector3 {
    float x;
    float y;
    float z;
};

// A position exactly as the host returns it: three 8-byte slots, each with a 32-bit float in
// its low half. The high halves carry no meaning.
struct NativeVector3 {
    float x;
    std::uint32_t xPadding;
    float y;
    std::uint32_t yPadding;
    float z;
    std::uint32_t zPadding;
};
static_assert(sizeof(NativeVector3) == 24, "NativeVector3 must match three 8-byte result slots");

// The module handle is only passed through; a pointer has the ABI of the host's HMODULE.
using ModuleHandle = void*;
using ScriptEntry = void (*)();

extern "C" {
// Stores the script entry; the host later runs it on a fibre of its own.
void scriptRegister(ModuleHandle module, ScriptEntry entry);
// Stops running the module's script.
void scriptUnregister(ModuleHandle module);
// Suspends the script fibre for at least ms of frame time; 0 resumes at the next frame.
void scriptWait(std::uint32_t ms);
// Native-call protocol: init with the native's hash, one push per 64-bit argument slot, call.
void nativeInit(NativeHash hash);
void nativePush64(std::uint64_t value);
// Returns the native's result slots; valid until the next native call.
std::uint64_t* nativeCall();
}
