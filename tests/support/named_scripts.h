// Every speech script of the plug-in with the name its source gives it, for the tests that walk
// them all.
#pragma once

#include <span>

#include "speech/aftermath_scripts.h"
#include "speech/approach_taunts.h"
#include "speech/speech_request.h"

namespace testing_scripts {

struct NamedScript {
    const char* name;
    std::span<const SpeechStep> steps;
};

inline constexpr NamedScript everyScript[] = {
    {"approachTauntDuster", approachTauntDuster},
    {"approachTauntExConfederate", approachTauntExConfederate},
    {"approachTauntSwamp", approachTauntSwamp},
    {"approachTauntInbred", approachTauntInbred},
    {"approachTauntMountainMan", approachTauntMountainMan},
    {"approachTauntBandito", approachTauntBandito},
    {"firstKillLinesBandito", firstKillLinesBandito},
    {"firstKillLinesInbred", firstKillLinesInbred},
    {"firstKillLinesExConfederate", firstKillLinesExConfederate},
    {"firstKillLinesSwamp", firstKillLinesSwamp},
    {"firstKillLinesMountainMan", firstKillLinesMountainMan},
    {"firstKillLinesDefault", firstKillLinesDefault},
    {"closingLinesBandito", closingLinesBandito},
    {"closingLinesInbred", closingLinesInbred},
    {"closingLinesExConfederate", closingLinesExConfederate},
    {"closingLinesSwamp", closingLinesSwamp},
    {"closingLinesMountainMan", closingLinesMountainMan},
    {"closingLinesDefault", closingLinesDefault},
};

}  // namespace testing_scripts
