// The map of a run as an SVG document: every hideout by gang with a legend, the player's path,
// where squads spawned, and a close-up of each encounter with where members stood, died and were
// removed.
#pragma once

#include <string>

#include "tools/chronicle.h"

namespace svg {

struct MapTitle {
    std::string build;     // "06h", or the plug-in file
    std::string scenario;  // the scenario file
    std::uint64_t seed;
};

std::string renderMap(const chronicle::Chronicle& chronicle, const MapTitle& title);

}  // namespace svg
