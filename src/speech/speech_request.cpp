#include "speech/speech_request.h"

#include "natives/wrappers.h"

namespace {
constexpr const char* noVoice = "";
}

std::int32_t drawVariation(std::int32_t lowerBound, std::int32_t upperBound) {
    return randomIntInRange(lowerBound, upperBound);
}

SpeechRequest makeSpeechRequest(const char* lineName, std::int32_t variation) {
    return SpeechRequest{
        .lineName = lineName,
        .voiceName = noVoice,
        .variation = {variation, 0},
        .reserved = {},
    };
}

void sayLine(const char* lineName, std::int32_t lowerBound, std::int32_t upperBound) {
    const SpeechRequest request =
        makeSpeechRequest(lineName, drawVariation(lowerBound, upperBound));
    const Ped speaker = currentPlayerPed();
    playAmbientSpeech(speaker, request);
}

void runSpeechScript(std::span<const SpeechStep> steps) {
    for (const SpeechStep& step : steps) {
        sayLine(step.lineName, step.lowerBound, step.upperBound);
        if (step.waitAfterMs) scriptWait(*step.waitAfterMs);
    }
}
