#include <gtest/gtest.h>

#include "SceneRecorder.h"
#include "scene/Random.h"
#include "scene/SpinDriver.h"

namespace {

TEST(Random, SeedOneGivesTheClassicSequenceInFifteenBits) {
    SeedRandom(1);
    for (const int expected : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358}) {
        EXPECT_EQ(NextRandom(), expected);
    }
    SeedRandom(0xFFFFFFFFu);
    for (int i = 0; i < 100000; ++i) {
        const int value = NextRandom();
        ASSERT_TRUE(value >= 0 && value <= 32767) << value;
    }
}

// Seed 1 gives 41, 18467, 6334, 26500, 19169, 15724, then 11478.
TEST(SpinDriver, FirstCallDrawsNothingAndSecondDrawsSix) {
    ResetScene();
    SeedRandom(1);
    UpdateSpin();
    for (int axis = 0; axis < kSpinAxes; ++axis) {
        EXPECT_EQ(spinCountdown[axis], -1);
        EXPECT_EQ(spinSpeed[axis], 0);
        EXPECT_EQ(spinAngle[axis], 0);
    }
    UpdateSpin();
    // Countdown first, then speed, axis by axis; the new speed already turns this frame.
    const int countdowns[kSpinAxes] = {41 - 1, 334 - 1, 169 - 1};
    const int speeds[kSpinAxes] = {18467 % 3, 26500 % 3, 15724 % 3};
    for (int axis = 0; axis < kSpinAxes; ++axis) {
        EXPECT_EQ(spinCountdown[axis], countdowns[axis]) << axis;
        EXPECT_EQ(spinSpeed[axis], speeds[axis]) << axis;
        EXPECT_EQ(spinAngle[axis], speeds[axis]) << axis;
    }
    EXPECT_EQ(NextRandom(), 11478) << "exactly six numbers were drawn";
}

TEST(SpinDriver, SpeedHoldsForItsCountdownAndAnglesWrap) {
    ResetScene();
    HoldSpin();
    SeedRandom(1);
    spinSpeed[1] = 2;
    spinAngle[1] = 358;
    spinCountdown[2] = 2;
    spinSpeed[2] = 1;
    const int yAngles[] = {0, 2, 4, 6}, zAngles[] = {1, 2, 3, 5};
    for (int frame = 0; frame < 4; ++frame) {
        UpdateSpin();  // The fourth frame draws 41 and 18467 for z: speed 2 from then on.
        EXPECT_EQ(spinAngle[1], yAngles[frame]) << frame;
        EXPECT_EQ(spinAngle[2], zAngles[frame]) << frame;
    }
    EXPECT_EQ(spinCountdown[2], 40);
}

}  // namespace
