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

// Countdown first, then speed, axis by axis, from 41, 18467, 6334, 26500, 19169 and 15724; the
// new speed already turns the frame that draws it. Then each speed holds for its countdown and
// the angles wrap at 360.
TEST(SpinDriver, DrawsCountdownAndSpeedPerAxisThenHoldsAndWraps) {
    ResetScene();
    SeedRandom(1);
    UpdateSpin();  // Countdowns of 0 draw nothing and go to -1.
    UpdateSpin();
    const int countdowns[kSpinAxes] = {40, 333, 168}, speeds[kSpinAxes] = {2, 1, 1};
    for (int axis = 0; axis < kSpinAxes; ++axis) {
        EXPECT_EQ(spinCountdown[axis], countdowns[axis]) << axis;
        EXPECT_EQ(spinSpeed[axis], speeds[axis]) << axis;
        EXPECT_EQ(spinAngle[axis], speeds[axis]) << axis;
    }
    EXPECT_EQ(NextRandom(), 11478) << "exactly six numbers were drawn";

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
