#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "native_calls.h"
#include "sim/call_log.h"
#include "sim/control.h"
#include "sim/native_handlers.h"
#include "sim/native_signatures.h"
#include "sim/script_fibre.h"

namespace {

// Runs init, pushes and call, and returns the HostError's message ("" when none was thrown).
std::string hostErrorOf(NativeHash hash, std::size_t pushes) {
    try {
        nativeInit(hash);
        for (std::size_t i = 0; i < pushes; ++i) nativePush64(0);
        nativeCall();
    } catch (const sim::HostError& error) {
        return error.what();
    }
    return "";
}

TEST(NativeProtocol, EveryCatalogueNativeIsFoundByItsHashAndHasAHandler) {
    for (std::size_t index = 0; index < nativeCatalogue.size(); ++index) {
        EXPECT_EQ(sim::nativeIndexOf(nativeCatalogue[index].hash), index)
            << nativeCatalogue[index].role;
        EXPECT_NE(sim::nativeHandlers[index], nullptr) << nativeCatalogue[index].role;
    }
    for (NativeHash stranger :
         {NativeHash{0}, NativeHash{1}, ~NativeHash{0}, native::playerPed + 1}) {
        EXPECT_EQ(sim::nativeIndexOf(stranger), sim::noNative) << stranger;
    }
}

TEST(NativeProtocol, AnUnknownHashOrAWrongSlotCountStopsTheRunNamingTheNative) {
    struct Case {
        NativeHash hash;
        std::size_t pushes;
        std::vector<std::string> named;
    };
    const Case cases[] = {
        {0x1234567890ABCDEFull, 0, {"0x1234567890ABCDEF"}},
        {0x0000000000000001ull, 0, {"0x0000000000000001"}},
        {native::createPed, 8, {"createPed", "0xD49F9B0955C367DE", "9", "8"}},
        {native::playerPed,
         1,
         {"playerPed", "0x096275889B8E0EE0", "takes 0 argument slots, got 1"}},
        {native::isEntityDead, 2, {"isEntityDead", "takes 1 argument slot, got 2"}},
        {native::giveWeapon, 14, {"giveWeapon", "13", "14"}},
        {native::distanceBetween, 6, {"distanceBetween", "0x0BE7F4E3CDBAFB28"}},
    };
    sim::resetWorld();
    for (const Case& c : cases) {
        const std::string message = hostErrorOf(c.hash, c.pushes);
        for (const std::string& part : c.named) {
            EXPECT_NE(message.find(part), std::string::npos)
                << "message \"" << message << "\" lacks " << part;
        }
    }
    EXPECT_TRUE(sim::calls().empty()) << "a refused call is not a call the game answered";
    // The failed calls left nothing pending behind them.
    EXPECT_EQ(simtest::clockNative(native::clockHours), 8);
}

TEST(NativeProtocol, ProtocolOutOfOrderIsAHostError) {
    sim::resetWorld();
    EXPECT_THROW(nativePush64(1), sim::HostError);
    EXPECT_THROW(nativeCall(), sim::HostError);
    nativeInit(native::clockHours);
    EXPECT_THROW(nativeInit(native::clockMinutes), sim::HostError);
    EXPECT_THROW(nativeCall(), sim::HostError) << "the interrupted call must have been dropped";
}

TEST(NativeProtocol, ANullPointerIsAHostErrorNamingTheNative) {
    sim::resetWorld();
    const char* line = "SPOTTED_MALE";
    const std::uint64_t noVoice[8] = {pointerSlot(line), 0, 1, 0, 0, 0, 0, 0};
    struct Case {
        NativeHash hash;
        std::vector<std::uint64_t> slots;
        const char* role;
    };
    const Case cases[] = {
        {native::hashOfString, {0}, "hashOfString"},
        {native::deleteEntity, {0}, "deleteEntity"},
        {native::playAmbientSpeech, {intSlot(1), 0}, "playAmbientSpeech"},
        {native::playAmbientSpeech, {intSlot(1), pointerSlot(noVoice)}, "playAmbientSpeech"},
    };
    for (const Case& c : cases) {
        try {
            nativeInit(c.hash);
            for (std::uint64_t slot : c.slots) nativePush64(slot);
            nativeCall();
            ADD_FAILURE() << c.role << " accepted a null pointer";
        } catch (const sim::HostError& error) {
            EXPECT_NE(std::string(error.what()).find(c.role), std::string::npos) << error.what();
        }
    }
    EXPECT_TRUE(sim::speeches().empty());
}

TEST(NativeProtocol, EveryAnsweredCallIsLoggedInCallOrder) {
    sim::resetWorld();
    simtest::clockNative(native::clockHours);
    scriptWait(0);
    simtest::clockNative(native::clockMinutes);
    const std::vector<sim::CallRecord>& log = sim::calls();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].name(), "clockHours");
    EXPECT_EQ(log[0].hash(), native::clockHours);
    EXPECT_EQ(log[0].frame, 0);
    EXPECT_TRUE(log[1].host());
    EXPECT_EQ(log[1].name(), "scriptWait");
    EXPECT_EQ(log[1].frame, 0) << "a wait is logged when it is called";
    EXPECT_EQ(log[2].name(), "clockMinutes");
    EXPECT_EQ(log[2].frame, 1);
}

// A script function between a native's init and its call would, on the game's host, leave the
// call's context to whatever ran meanwhile. The open call is dropped, never half logged.
TEST(NativeProtocol, AScriptFunctionWhileANativeCallIsOpenIsAHostError) {
    int module = 0;
    struct Case {
        const char* function;
        void (*call)(int*);
    };
    const Case cases[] = {
        {"scriptWait", [](int*) { scriptWait(0); }},
        {"scriptRegister", [](int* m) { scriptRegister(m, [] {}); }},
        {"scriptUnregister", [](int* m) { scriptUnregister(m); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.function);
        sim::resetWorld();
        nativeInit(native::clockHours);
        try {
            c.call(&module);
            ADD_FAILURE() << "accepted";
        } catch (const sim::HostError& error) {
            EXPECT_EQ(std::string(error.what()), std::string(c.function) + " while " +
                                                     sim::describeNative(native::clockHours) +
                                                     " was never called");
        }
        EXPECT_TRUE(sim::calls().empty());
        EXPECT_THROW(nativeCall(), sim::HostError) << "the open call must have been dropped";
    }
}

void waitsInTheMiddleOfANativeCall() {
    nativeInit(native::clockHours);
    scriptWait(0);
    nativeCall();
}

TEST(NativeProtocol, AScriptThatWaitsInTheMiddleOfANativeCallStopsTheRun) {
    sim::resetWorld();
    sim::startFibreHost();
    int module = 0;
    scriptRegister(&module, waitsInTheMiddleOfANativeCall);
    EXPECT_FALSE(sim::runScriptFrame()) << "the run stops at the frame of the wait";
    sim::stopFibreHost();
    EXPECT_EQ(sim::hostFailure(),
              "scriptWait while " + sim::describeNative(native::clockHours) + " was never called");
    for (const sim::CallRecord& record : sim::calls()) EXPECT_TRUE(record.host()) << "half logged";
}

TEST(ScriptHost, RegisterKeepsTheEntryUntilUnregistered) {
    sim::resetWorld();
    const ScriptEntry entry = [] {};
    int module = 0;
    scriptRegister(&module, entry);
    EXPECT_EQ(sim::registeredScript(), entry);
    scriptUnregister(&module);
    EXPECT_FALSE(sim::registeredScript().has_value());
    ASSERT_EQ(sim::calls().size(), 2u);
    EXPECT_EQ(sim::calls()[0].name(), "scriptRegister");
    EXPECT_EQ(sim::calls()[1].name(), "scriptUnregister");
}

}  // namespace
