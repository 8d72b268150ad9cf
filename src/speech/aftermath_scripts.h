// What the player's own character says after a fight: a reaction when the first dead squad member
// is cleared away, and closing lines when the whole squad is dead. One of each per gang model;
// the Default scripts serve both Duster models and any model no gang claims.
#pragma once

#include <array>
#include <optional>

#include "speech/speech_request.h"

// Each row: the line, the bounds of its variation draw, and the wait after it in milliseconds of
// frame time (std::nullopt: no wait at all, not even a frame). The rows set each script's length.

// First-kill reactions.

// The one script that waits after its last line as well.
inline constexpr auto firstKillLinesBandito = std::to_array<SpeechStep>({
    {"WON_FIGHT_BANDITOS_LOWH", 1, 5, 4000},
    {"HIDEOUT_TL_V3_PLYFINAL_FIRST", 1, 2, 4000},
});

inline constexpr auto firstKillLinesInbred = std::to_array<SpeechStep>({
    {"WON_FIGHT_INBRED_DOM", 1, 5, 5000},
    {"RE_HAT_RKR_V1_PLYFINAL_RUN", 1, 2, std::nullopt},
});

inline constexpr auto firstKillLinesExConfederate = std::to_array<SpeechStep>({
    {"AMBUSH_BRP_V4_POST_FINAL", 1, 2, 5000},
    {"AMBUSH_BRT_COMBATOVER", 1, 2, 5000},
    {"COUGH_SICK_MEDIUM", 1, 11, std::nullopt},
});

inline constexpr auto firstKillLinesSwamp = std::to_array<SpeechStep>({
    {"RE_ETE_STD_V1_PLYFINAL", 1, 2, 5000},
    {"RE_ETE_STD_V4_PLYFINAL_FEUD", 1, 2, 5000},
    {"MINIGAME_PLAYER_CAMP_CHAT_SHADY_BELLE_CUSTOM", 2, 5, std::nullopt},
});

inline constexpr auto firstKillLinesMountainMan = std::to_array<SpeechStep>({
    {"RE_KV_MTN_V2_PLYFINAL_HIGH", 1, 2, 4000},
    {"RE_KV_LWL_V1_PLYFINAL_LOW", 1, 2, 4000},
    {"RE_DJ_VAL_V1_PLYFINAL_STOP_LOW", 1, 2, std::nullopt},
});

inline constexpr auto firstKillLinesDefault = std::to_array<SpeechStep>({
    {"RE_KT_NBX_V2_POST_SHIT", 1, 2, 5000},
    {"HIDEOUT_TL_V2_PLYFINAL_FIRST", 1, 2, 6000},
    {"RE_PBR_UNI_V1_PLYFINAL_HELP_HIGH", 1, 2, 6000},
    {"COUGH_SICK_MEDIUM", 1, 11, std::nullopt},
});

// Closing lines.

inline constexpr auto closingLinesBandito = std::to_array<SpeechStep>({
    {"RE_BOT_GUA_V1_PLYFINAL", 1, 2, 4000},
    {"GEAC_COMBATOVER_KNOWN", 1, 2, 4000},
    {"HIDEOUT_TL_V1_PLYFINAL", 1, 2, std::nullopt},
});

inline constexpr auto closingLinesInbred = std::to_array<SpeechStep>({
    {"RE_SH_BYN_V1_PLYFINAL_KNOWN", 1, 2, 4000},
    {"WON_FIGHT_INBRED", 1, 6, 4000},
    {"RE_KT_NBX_V2_POST_SHIT", 1, 2, std::nullopt},
});

inline constexpr auto closingLinesExConfederate = std::to_array<SpeechStep>({
    {"AMBUSH_ROR_V1_PLYFINAL", 1, 2, 5000},
    {"RE_HAT_RKR_V1_PLYFINAL_FEUD", 1, 2, 5000},
    {"COUGH_SICK_MEDIUM", 1, 11, 5000},
    {"HIDEOUT_TL_V3_PLYFINAL_FIRST", 1, 2, std::nullopt},
});

inline constexpr auto closingLinesSwamp = std::to_array<SpeechStep>({
    {"RE_VC_LWL_V1_PLYFINAL", 1, 2, 4000},
    {"COUGH_SICK_SMALL", 1, 1, std::nullopt},
});

inline constexpr auto closingLinesMountainMan = std::to_array<SpeechStep>({
    {"RE_HAT_RKR_V1_PLYFINAL_FEUD", 1, 2, 4000},
    {"RE_HAT_RKR_V1_PLYFINAL_KILL", 1, 2, 4000},
    {"RE_ETE_STD_V2_PLYFINAL_FEUD", 1, 2, std::nullopt},
});

inline constexpr auto closingLinesDefault = std::to_array<SpeechStep>({
    {"RE_ODT_VAL_V2_ANTAGONIZE", 1, 2, 5000},
    {"HIDEOUT_TL_V1_PLYFINAL", 1, 2, 5000},
    {"RE_ODT_VAL_V2_PLYFINAL_FEUD", 1, 2, 5000},
    {"HIDEOUT_TL_V3_PLYFINAL", 1, 2, 5000},
    {"COUGH_SICK_MEDIUM", 1, 11, std::nullopt},
});
