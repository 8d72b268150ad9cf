// Fibre mode of the script host, the way the game runs a plug-in: the registered script runs on a
// fibre of the host's own and is resumed once per frame; scriptWait suspends it until the first
// frame at least that much frame time later.
//
// A host error stops the run instead of being thrown at the caller: the fibre is abandoned where
// it stands (never resumed, never unwound) and the message waits in hostFailure(). No exception
// ever crosses a context switch: one thrown on the fibre is caught at the fibre's base.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "host/host.h"

namespace sim {

struct FibreHostOptions {
    std::size_t stackBytes = std::size_t{1} << 20;  // generous: the plug-in's deepest tick is small
    // A frame in which the script makes this many native calls without yielding has run away.
    // A real tick makes a few hundred at the most.
    std::int64_t nativeCallsPerFrame = 100'000;
};

// Enters fibre mode on a world that resetWorld has just set up. From now on the host functions
// act as the game's: scriptWait suspends the fibre, and natives are taken only from the fibre.
void startFibreHost(const FibreHostOptions& options = {});
// Leaves fibre mode; a script still on its fibre is abandoned.
void stopFibreHost();
bool fibreHostActive();

// One frame: the world advances by a frame, then the script, if one is registered, runs until it
// yields when its wait is over. Starts the fibre of a newly registered script and abandons the
// fibre of an unregistered one. False once a host error has stopped the run.
bool runScriptFrame();

// The host error that stopped the run, naming the native or host function.
std::optional<std::string> hostFailure();
// Records a host error found off the fibre (while loading or unloading the plug-in); the first
// one recorded is kept.
void recordHostFailure(std::string message);
// The script returned from its entry, which a game script never does; the host stops running it.
bool scriptReturned();

// Hooks of the host functions, for fibre mode only.
// scriptWait: suspends the fibre until its wait is over.
void suspendScript(std::uint32_t ms);
// nativeInit: a native from anywhere but the script fibre, or one beyond the frame's budget,
// stops the run. Does nothing outside fibre mode.
void checkNativeCaller(NativeHash hash);

}  // namespace sim
