// The part of the fibre host that differs between platforms: a stack of the script's own and the
// switches between it and the host's stack. On POSIX a stack switch of our own for x86-64
// (fibre_switch_posix.cpp), Windows fibres on Windows (fibre_switch_windows.cpp); CMake compiles
// one of them.
#pragma once

#include <cstddef>

namespace sim::fibre {

struct Fibre;  // the platform's context and stack of one script fibre

// The calling thread becomes the host's: only it may enter fibres, and onHostThread() says
// whether a caller is on it.
void bindHostThread();
bool onHostThread();

// A fibre that runs base() on a stack of its own the first time it is entered; base must never
// return (it leaves for good instead). Null if the platform refuses one.
Fibre* create(std::size_t stackBytes, void (*base)());
// From the host: runs the fibre until it leaves.
void enter(Fibre& fibre);
// From the fibre: back to the host. A fibre that leaves for good is never entered again.
void leave(Fibre& fibre, bool forGood);
// First thing on a new fibre's stack, before anything else runs there.
void arrived();
// The host is done with a fibre that is not running. Whatever the script had allocated and
// still points at from that stack stays allocated.
void abandon(Fibre* fibre);

}  // namespace sim::fibre
