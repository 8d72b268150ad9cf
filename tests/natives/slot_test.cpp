#include "natives/slot.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// Bit patterns that a sign-extending or float-converting push would get wrong.
TEST(SlotEncoding, IntegersHandlesAndHashesAreZeroExtendedNotSignExtended) {
    struct Case {
        const char* what;
        std::uint64_t slot;
        std::uint64_t expected;
    };
    const Case cases[] = {
        {"int 0", intSlot(0), 0x0000000000000000ull},
        {"int 16", intSlot(16), 0x0000000000000010ull},
        {"int -1", intSlot(-1), 0x00000000FFFFFFFFull},
        {"int min", intSlot(INT32_MIN), 0x0000000080000000ull},
        {"hash with top bit", hashSlot(0xD49F9B09u), 0x00000000D49F9B09ull},
        {"bool true", boolSlot(true), 1ull},
        {"bool false", boolSlot(false), 0ull},
    };
    for (const Case& c : cases) EXPECT_EQ(c.slot, c.expected) << c.what;
}

TEST(SlotEncoding, FloatGoesAsItsBitPatternInTheLowHalfNotAsAConvertedInteger) {
    struct Case {
        float value;
        std::uint64_t expected;
    };
    const Case cases[] = {
        {1.0f, 0x000000003F800000ull},  {-1.0f, 0x00000000BF800000ull},
        {50.0f, 0x0000000042480000ull}, {-0.0f, 0x0000000080000000ull},
        {0.0f, 0x0000000000000000ull},  {-1000.0f, 0x00000000C47A0000ull},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(floatSlot(c.value), c.expected) << c.value;
        EXPECT_EQ(slotFloat(c.expected), c.value) << c.value;
    }
}

TEST(SlotEncoding, PointerGoesWhole) {
    static const char name[] = "x";
    EXPECT_EQ(pointerSlot(name), reinterpret_cast<std::uintptr_t>(name));
}

TEST(SlotDecoding, ResultsAreReadFromTheLowHalfOnly) {
    const std::uint64_t dirtyHigh = 0xDEADBEEF00000000ull;
    EXPECT_EQ(slotInt(dirtyHigh | 0xFFFFFFFFull), -1);
    EXPECT_EQ(slotHash(dirtyHigh | 0x1234ull), 0x1234u);
    EXPECT_FALSE(slotBool(dirtyHigh));  // a true high half alone is not a true boolean
    EXPECT_TRUE(slotBool(dirtyHigh | 2u));
    EXPECT_EQ(slotFloat(dirtyHigh | 0x42480000ull), 50.0f);
}

}  // namespace
