#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "natives/call.h"
#include "natives/catalogue.h"
#include "natives/slot.h"
#include "sim/control.h"

namespace {

// Jenkins' one-at-a-time hash as he published it, bytes taken as they are.
std::uint32_t oneAtATime(std::string_view bytes) {
    std::uint32_t h = 0;
    for (unsigned char b : bytes) {
        h += b;
        h += h << 10;
        h ^= h >> 6;
    }
    h += h << 3;
    h ^= h >> 11;
    h += h << 15;
    return h;
}

std::string asciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

TEST(GameHash, ReferenceLoopReproducesPublishedOneAtATimeValues) {
    // Values from the description of the hash (Wikipedia, "Jenkins hash function").
    EXPECT_EQ(oneAtATime("a"), 0xCA2E9442u);
    EXPECT_EQ(oneAtATime("The quick brown fox jumps over the lazy dog"), 0x519E91F5u);
}

TEST(GameHash, KnownGameNames) {
    EXPECT_EQ(sim::gameHash("a"), 0xCA2E9442u);
    EXPECT_EQ(sim::gameHash(""), 0u);
    // The model name of the protagonist of the previous game of the same engine, whose model
    // hash 0x0D7114C9 is widely published.
    EXPECT_EQ(sim::gameHash("player_zero"), 0x0D7114C9u);
}

// Only A-Z fold: '@', '[', '`', '{' sit right beside the letters, and bytes above 0x7F are not
// ASCII letters at all.
TEST(GameHash, FoldsOnlyAsciiCapitals) {
    const std::string_view names[] = {
        "WEAPON_BOW", "g_m_m_uniswamp_01", "G_M_M_UNIDUSTER_02", "Rel_Gang_ODriscoll",
        "@[`{AZaz",   "caf\xC3\x89",       "\x80\xFF",           "0123456789_-./",
    };
    for (std::string_view name : names) {
        EXPECT_EQ(sim::gameHash(name), oneAtATime(asciiLower(name))) << name;
    }
    EXPECT_EQ(sim::gameHash("WEAPON_BOW"), sim::gameHash("weapon_bow"));
    EXPECT_NE(sim::gameHash("@"), sim::gameHash("`"));
    EXPECT_NE(sim::gameHash("caf\xC3\x89"), sim::gameHash("caf\xC3\xA9"));
}

TEST(GameHash, HashOfStringNativeAnswersTheGameHash) {
    sim::resetWorld();
    const char* name = "REL_GANG_MURFREE_BROOD";
    EXPECT_EQ(slotHash(callNative(native::hashOfString, pointerSlot(name))[0]),
              oneAtATime("rel_gang_murfree_brood"));
}

}  // namespace
