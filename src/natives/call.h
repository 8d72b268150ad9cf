// One native call through the host's protocol: init, one push per argument slot, call.
#pragma once

#include <cstdint>

#include "host/host.h"

// Each argument is an already encoded slot (see slot.h). Returns the host's result slots,
// valid until the next native call.
template <class... Slots>
std::uint64_t* callNative(NativeHash hash, Slots... slots) {
    nativeInit(hash);
    (nativePush64(static_cast<std::uint64_t>(slots)), ...);
    return nativeCall();
}
