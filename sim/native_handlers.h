// The game's answer to each native of the catalogue.
#pragma once

#include <cstdint>
#include <span>

#include "host/host.h"

namespace sim {

// args holds exactly the native's argument slots; results has room for three slots, filled with
// junk beforehand, of which the handler writes those its native returns.
using NativeHandler = void (*)(std::span<const std::uint64_t> args, std::uint64_t* results);

// nullptr for a native the simulated game does not know.
NativeHandler findHandler(NativeHash hash);

}  // namespace sim
