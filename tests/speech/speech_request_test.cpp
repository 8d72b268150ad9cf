#include "speech/speech_request.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "natives/slot.h"
#include "sim/control.h"
#include "tests/support/sim_calls.h"

namespace {

using testing_calls::callNames;
using testing_calls::callsNamed;
using testing_calls::slotsOf;
using Names = std::vector<std::string>;

class SpeechTest : public ::testing::Test {
protected:
    void SetUp() override { sim::resetWorld(); }
};

TEST(SpeechRequestLayout, VoiceIsAnEmptyStringNeverNullAndReservedSlotsAreZero) {
    const SpeechRequest request = makeSpeechRequest("COUGH_SICK_SMALL", -3);
    ASSERT_NE(request.voiceName, nullptr);
    EXPECT_STREQ(request.voiceName, "");
    EXPECT_STREQ(request.lineName, "COUGH_SICK_SMALL");

    unsigned char bytes[sizeof request];
    std::memcpy(bytes, &request, sizeof request);
    std::int32_t variation;
    std::memcpy(&variation, bytes + 16, sizeof variation);
    EXPECT_EQ(variation, -3);
    for (std::size_t offset = 24; offset < 64; offset += 8) {
        std::int32_t reserved;
        std::memcpy(&reserved, bytes + offset, sizeof reserved);
        EXPECT_EQ(reserved, 0) << "slot at byte " << offset;
    }
}

TEST_F(SpeechTest, SayLineDrawsThenFetchesThePlayerThenSpeaksWithTheBoundsUnchanged) {
    struct Case {
        std::int32_t lower;
        std::int32_t upper;
    };
    for (const Case c : {Case{1, 1}, Case{2, 5}, Case{1, 11}}) {
        sim::resetWorld();
        sayLine("RE_KT_NBX_V2_POST_SHIT", c.lower, c.upper);
        EXPECT_EQ(callNames(), (Names{"randomIntInRange", "playerPed", "playAmbientSpeech"}));
        const sim::CallRecord& draw = *callsNamed("randomIntInRange").at(0);
        EXPECT_EQ(slotsOf(draw), (std::vector<std::uint64_t>{intSlot(c.lower), intSlot(c.upper)}));

        ASSERT_EQ(sim::speeches().size(), 1u);
        const sim::SpeechRecord& said = sim::speeches()[0];
        EXPECT_EQ(said.speaker, sim::playerPedHandle());
        EXPECT_EQ(said.line, "RE_KT_NBX_V2_POST_SHIT");
        EXPECT_EQ(said.voice, "");
        EXPECT_EQ(std::to_string(said.variation), sim::resultJson(draw)) << "variation is the draw";
    }
}

TEST_F(SpeechTest, ScriptEndingWithoutAWaitReturnsInTheSameFrame) {
    constexpr SpeechStep script[] = {
        {"AMBUSH_ROR_V1_PLYFINAL", 1, 2, 5000},
        {"COUGH_SICK_MEDIUM", 1, 11, std::nullopt},
    };
    runSpeechScript(script);
    EXPECT_EQ(callNames(),
              (Names{"randomIntInRange", "playerPed", "playAmbientSpeech", "scriptWait",
                     "randomIntInRange", "playerPed", "playAmbientSpeech"}));
    EXPECT_EQ(slotsOf(*callsNamed("scriptWait").at(0)), (std::vector<std::uint64_t>{5000}));
    EXPECT_EQ(sim::speeches().size(), 2u);
}

TEST_F(SpeechTest, ScriptEndingWithAWaitWaitsBeforeReturning) {
    constexpr SpeechStep script[] = {
        {"WON_FIGHT_BANDITOS_LOWH", 1, 5, 4000},
        {"HIDEOUT_TL_V3_PLYFINAL_FIRST", 1, 2, 4000},
    };
    const auto start = sim::currentTimeMs();
    runSpeechScript(script);
    EXPECT_EQ(callNames().back(), "scriptWait");
    EXPECT_GE(sim::currentTimeMs() - start, 8000);
}

}  // namespace
