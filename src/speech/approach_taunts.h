// What the player's own character says to taunt a gang when its hideout is reached: one script
// per gang, named in the gang's profile.
#pragma once

#include <array>
#include <optional>

#include "speech/speech_request.h"

// Each row: the line, the bounds of its variation draw, and the wait after it in milliseconds of
// frame time (std::nullopt: no wait at all, not even a frame). The rows set each script's length.

inline constexpr auto approachTauntDuster = std::to_array<SpeechStep>({
    {"ORR_V2_ILO_NEG", 1, 2, 4000},
    {"RE_KT_NBX_V2_POST_SHIT", 1, 2, 4000},
    {"RE_PCA_RKR_V1_AGGRO_CALLOUT", 1, 2, 4000},
    {"RE_KD_UNI_V1_ILO_ANTAGONIZE", 1, 5, 4000},
    {"HIDEOUT_TL_V1_ILO_PLAYER_NEG_A", 1, 2, 4000},
    {"RE_TA_MTN_V1_PL_PLAYER_ILO_ANT_FEUD", 1, 2, 4000},
    {"RE_DIB_NBX_V1_ILO_CAUGHT_NEG", 1, 2, std::nullopt},
});

inline constexpr auto approachTauntExConfederate = std::to_array<SpeechStep>({
    {"RE_PAR_RHD_V2_REVEAL_DN_FEUD", 1, 2, 4000},
    {"RE_PAR_RHD_V3_ILO_NEG", 1, 2, 4000},
    {"RE_KT_NBX_V1_NEGATIVE", 1, 2, 4000},
    {"RE_HAT_RKR_V1_KILL_B", 1, 2, 4000},
    {"RE_HAT_RKR_V1_KILL_D", 1, 2, 4000},
    {"PNK1_V3_ILO_ANTAGONIZE", 1, 2, 4000},
    {"RE_DLP_V3_NEG_PLAYER_A", 1, 2, 4000},
    {"RE_DLP_V5_WARNING_ANTAGONIZE", 1, 2, std::nullopt},
});

inline constexpr auto approachTauntSwamp = std::to_array<SpeechStep>({
    {"RESSH_PLYFINAL", 1, 2, 4000},
    {"RE_VC_LWL_V1_REVEAL", 1, 2, 4000},
    {"RE_TC_RKR_V1_NEGATIVE_PLAYER_A1", 1, 2, 4000},
    {"RE_DAA_NBX_V2_PLY_CONFRONT_B", 1, 2, 4000},
    {"RE_DAA_NBX_V2_PLY_SHIT", 1, 2, 3000},
    {"RE_TA_MTN_V1_PL_PLAYER_ILO_ANT_FEUD", 1, 2, std::nullopt},
});

inline constexpr auto approachTauntInbred = std::to_array<SpeechStep>({
    {"RE_BOT_FTH_V1_THREATEN_B", 1, 2, 3000},
    {"RE_HOSR_LWL_V1_PL_THUG_ANTAGONIZE", 1, 2, 3000},
    {"RE_DAA_NBX_V2_PLY_CONFRONT_B", 1, 2, 3000},
    {"RE_HAT_RKR_V1_KILL_D", 1, 2, 3000},
    {"PNK1_V2_ILO_ANTAGONIZE", 1, 2, 3000},
    {"RE_KD_UNI_V1_ILO_ANTAGONIZE", 1, 5, std::nullopt},
});

inline constexpr auto approachTauntMountainMan = std::to_array<SpeechStep>({
    {"RE_HAT_RKR_V1_GODDAMNWAGON", 1, 2, 4000},
    {"PLAYER_MELEE_MULTIPLE_NEG", 1, 11, 4000},
    {"PLAYER_MELEE_MULTIPLE_POS", 1, 11, 4000},
    {"PLAYER_TAUNT_MULTIPLE_ENEMIES_NEG_FAR", 1, 11, 4000},
    {"RE_PCA_RKR_V1_AGGRO_CALLOUT", 1, 2, 4000},
    {"RE_HAT_RKR_V1_KILL_D", 1, 2, 4000},
    {"RE_DIB_NBX_V1_ILO_CAUGHT_NEG", 1, 2, std::nullopt},
});

inline constexpr auto approachTauntBandito = std::to_array<SpeechStep>({
    {"RE_DAA_NBX_V2_PLY_SHIT", 1, 2, 4000},
    {"RE_ETE_STD_V4_ANTAGONIZE", 1, 2, 4000},
    {"RE_BOT_GUA_V1_SHIT", 1, 2, 4000},
    {"RE_BOT_FTH_V1_THREATEN_B", 1, 2, 4000},
    {"RE_BTE_STD_V2_ANTAGONIZE", 1, 2, 4000},
    {"RE_DAA_NBX_V2_PLY_CONFRONT_B", 1, 2, 4000},
    {"RE_BA_RKR_V1_PLAYER_B_ANTAGONIZE", 1, 2, 4000},
    {"AMBUSH_NR1_ANTAGONIZE", 1, 2, std::nullopt},
});
