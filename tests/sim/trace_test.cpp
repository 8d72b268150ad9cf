#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "native_calls.h"
#include "sim/call_log.h"
#include "sim/control.h"

namespace {

using namespace simtest;

TEST(TraceFloats, ShortestDecimalThatReadsBackToTheSameFloat) {
    struct Case {
        float value;
        const char* expected;
    };
    const Case cases[] = {
        {-855.478f, "-855.478"},
        {1404.56f, "1404.56"},
        {230.655f, "230.655"},
        {0.1f, "0.1"},
        {1.0f, "1"},
        {0.0f, "0"},
        {-0.0f, "-0"},
        {16777217.0f, "16777216"},
        {50.0f, "50"},
        {3.4028235e38f, "3.4028235e+38"},
        {1e-7f, "1e-07"},
    };
    for (const Case& c : cases) {
        const std::string text = sim::jsonFloat(c.value);
        EXPECT_EQ(text, c.expected);
        EXPECT_EQ(std::strtof(text.c_str(), nullptr), c.value) << text;
    }
}

TEST(TraceText, HexAndStringsAreWrittenAsJson) {
    EXPECT_EQ(sim::hexText(0x0BE7F4E3CDBAFB28ull, 16), "0x0BE7F4E3CDBAFB28");
    EXPECT_EQ(sim::hexText(0xABCDu, 8), "0x0000ABCD");
    EXPECT_EQ(sim::jsonString("a\"b\\c\nd\x01"), "\"a\\\"b\\\\c\\u000Ad\\u0001\"");
}

class TraceLines : public ::testing::Test {
protected:
    void SetUp() override {
        sim::WorldOptions options;
        options.modelLoadDelayFrames = 0;
        sim::resetWorld(options);
    }
    static std::string lastLine() { return sim::traceLine(sim::calls().back()); }
};

// The two lines the trace format is documented with, reproduced call for call.
TEST_F(TraceLines, CreatePedAndScriptWaitAsDocumented) {
    sim::runFrames(12);
    requestModel(0x1A2B3C4D);
    createPedAt(0x1A2B3C4D, {-855.478f, 1404.56f, 230.655f});
    EXPECT_EQ(lastLine(),
              R"({"frame":12,"t":400,"day":0,"clock":"08:00","native":"createPed",)"
              R"("hash":"0xD49F9B0955C367DE","args":["0x1A2B3C4D",-855.478,1404.56,230.655,)"
              R"(0,1,1,0,0],"result":101})");
    scriptWait(500);
    EXPECT_EQ(sim::traceLine(sim::calls().back()),
              R"({"frame":12,"t":400,"day":0,"clock":"08:00","host":"scriptWait","args":[500]})");
}

TEST_F(TraceLines, EachNativeDecodesItsOwnSlots) {
    const char* weaponName = "WEAPON_BOW";
    const char* line = "RE_WILD_UNI_HEARD_HOWLA";
    const char* voice = "";
    const std::uint64_t request[8] = {
        pointerSlot(line), pointerSlot(voice), intSlot(-3), 0, 0, 0, 0, 0};
    sim::placePlayer({0.5f, -1.25f, 1e6f});
    requestModel(0x00C0FFEE);
    Ped ped = createPedAt(0x00C0FFEE, {});

    struct Case {
        std::function<void()> call;
        const char* args;
        std::string result;
    };
    const Case cases[] = {
        {[&] { callNative(native::hashOfString, pointerSlot(weaponName)); }, R"(["WEAPON_BOW"])",
         '"' + sim::hexText(sim::gameHash(weaponName), 8) + '"'},
        {[&] { callNative(native::playAmbientSpeech, intSlot(ped), pointerSlot(request)); },
         R"([101,{"line":"RE_WILD_UNI_HEARD_HOWLA","voice":"","variation":-3}])", "true"},
        {[&] { coordsOf(sim::playerPedHandle()); }, "[1,1,0]", "[0.5,-1.25,1e+06]"},
        {[&] { randomIntInRange(-5, -5); }, "[-5,-5]", "-5"},
        {[&] { callNative(native::releaseModel, hashSlot(0xFFFFFFFFu)); }, R"(["0xFFFFFFFF"])",
         "null"},
        {[&] { isEntityDead(ped); }, "[101]", "false"},
        {[&] { entityModel(ped); }, "[101]", R"("0x00C0FFEE")"},
        {[&] { deleteEntity(&ped); }, "[101]", "null"},
    };
    for (const Case& c : cases) {
        c.call();
        const sim::CallRecord& record = sim::calls().back();
        EXPECT_EQ(sim::argsJson(record), c.args) << record.name();
        EXPECT_EQ(sim::resultJson(record), c.result) << record.name();
    }
}

TEST_F(TraceLines, WhenFieldsFollowFrameTimeAndTheGameClock) {
    sim::resetWorld({.startDate = {}, .startHours = 23, .startMinutes = 58});
    sim::runFrames(2 * 60 + 35);
    clockNative(native::clockMinutes);
    EXPECT_EQ(lastLine(),
              R"({"frame":155,"t":5166,"day":1,"clock":"00:00","native":"clockMinutes",)"
              R"("hash":"0x4E162231B823DBBF","args":[],"result":0})");
}

}  // namespace
