#include <gtest/gtest.h>

#include <array>

#include "scene/Random.h"

namespace {

TEST(Random, SeedOneGivesTheClassicSequence) {
    SeedRandom(1);
    for (const int expected : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358}) {
        EXPECT_EQ(NextRandom(), expected);
    }
}

TEST(Random, ReseedingRestartsTheSequence) {
    SeedRandom(0xDEADBEEFu);
    std::array<int, 4> first{};
    for (int& value : first) {
        value = NextRandom();
    }
    SeedRandom(0xDEADBEEFu);
    for (const int value : first) {
        EXPECT_EQ(NextRandom(), value);
    }
}

TEST(Random, ValuesStayWithinFifteenBits) {
    SeedRandom(0xFFFFFFFFu);
    for (int i = 0; i < 100000; ++i) {
        const int value = NextRandom();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 32767);
    }
}

}  // namespace
