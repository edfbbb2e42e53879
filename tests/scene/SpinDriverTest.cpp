#include <gtest/gtest.h>

#include "SceneRecorder.h"
#include "scene/Random.h"
#include "scene/SpinDriver.h"

namespace {

class SpinDriver : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetScene();
        SeedRandom(1);
    }
};

// Seed 1 gives 41, 18467, 6334, 26500, 19169, 15724, then 11478.
TEST_F(SpinDriver, FirstCallDrawsNothingAndSecondDrawsSix) {
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

TEST_F(SpinDriver, AnglesWrapAtThreeHundredSixty) {
    HoldSpin();
    spinSpeed[1] = 2;
    spinAngle[1] = 358;
    UpdateSpin();
    EXPECT_EQ(spinAngle[1], 0);
    UpdateSpin();
    EXPECT_EQ(spinAngle[1], 2);
}

TEST_F(SpinDriver, ASpeedHoldsForItsCountdownPlusOneFrames) {
    HoldSpin();
    spinCountdown[2] = 2;
    spinSpeed[2] = 1;
    for (int frame = 1; frame <= 3; ++frame) {
        UpdateSpin();
        EXPECT_EQ(spinAngle[2], frame);
    }
    EXPECT_EQ(spinCountdown[2], -1);
    UpdateSpin();  // Draws 41 and 18467: speed 2 from this frame on.
    EXPECT_EQ(spinCountdown[2], 40);
    EXPECT_EQ(spinAngle[2], 5);
}

}  // namespace
