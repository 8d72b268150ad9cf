// The two checks that bracket every tick: dead squad members far from the player are cleared away
// (the first one since the last re-arm draws a remark from the player's character), and a squad
// found all dead draws the gang's closing lines, once until the next re-arm.
#pragma once

#include <span>

#include "host/host.h"
#include "speech/speech_request.h"

inline constexpr float deadCullDistance = 100.0f;  // metres; a dead member at exactly this stays

// What the player's character says about a gang, chosen by a member's model.
struct AftermathScripts {
    std::span<const SpeechStep> firstKill;
    std::span<const SpeechStep> closing;
};

// Compares model with the gangs' primary models in the order of their profiles' aftermathLookup
// (asking hashOfString for each name in turn, stopping at the first equal one); any other model,
// both Duster models included, gets the Default scripts.
AftermathScripts aftermathScriptsFor(Hash model);

// Deletes and removes every dead member more than 100 m from the player. The first such member
// since the last re-arm starts its gang's first-kill script in the middle of the pass; the pass
// resumes at the same position afterwards, with the player's position taken at its start.
void cullFarDeadMembers();

// When the roster holds members and all are dead, plays the closing script of entry 0's gang,
// unless closing lines have already played since the last re-arm.
void checkFightOver();
