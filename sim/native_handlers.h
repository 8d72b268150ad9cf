// The game's answer to each native of the catalogue.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "host/host.h"
#include "natives/catalogue.h"

namespace sim {

// args holds exactly the native's argument slots; results has room for three slots, filled with
// junk beforehand, of which the handler writes those its native returns.
using NativeHandler = void (*)(std::span<const std::uint64_t> args, std::uint64_t* results);

// The game's answer to each native, at its catalogue index.
extern const std::array<NativeHandler, nativeCatalogue.size()> nativeHandlers;

}  // namespace sim
