#include <gtest/gtest.h>

#include "scene/Random.h"

namespace {

TEST(Random, SeedOneGivesTheClassicSequence) {
    SeedRandom(1);
    for (const int expected : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358}) {
        EXPECT_EQ(NextRandom(), expected);
    }
}

TEST(Random, ValuesStayWithinFifteenBits) {
    SeedRandom(0xFFFFFFFFu);
    for (int i = 0; i < 100000; ++i) {
        const int value = NextRandom();
        ASSERT_TRUE(value >= 0 && value <= 32767) << value;
    }
}

}  // namespace
