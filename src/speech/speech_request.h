// The one way anything is said: a 64-byte request handed to the game's ambient-speech native,
// and scripts of lines and waits built from it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "host/host.h"
#include "natives/ambient_speech.h"

// One line of a speech script: the variation is drawn from (lowerBound, upperBound) by the game,
// and waitAfterMs, when present, is the scriptWait that follows the line.
struct SpeechStep {
    const char* lineName;
    std::int32_t lowerBound;
    std::int32_t upperBound;
    std::optional<std::uint32_t> waitAfterMs;
};

// The game's draw for a line's variation, passed the bounds exactly as given.
std::int32_t drawVariation(std::int32_t lowerBound, std::int32_t upperBound);

// A request for lineName with the given variation; everything else zero, voice "".
SpeechRequest makeSpeechRequest(const char* lineName, std::int32_t variation);

// The player's character says one line: draw the variation, then fetch the player's ped (anew
// for every line), then speak. Never waits.
void sayLine(const char* lineName, std::int32_t lowerBound, std::int32_t upperBound);

// Says each step's line in order, each followed by its wait if it has one. A step without a wait
// makes no scriptWait call at all, so a script ending on such a step returns in the same frame.
void runSpeechScript(std::span<const SpeechStep> steps);
