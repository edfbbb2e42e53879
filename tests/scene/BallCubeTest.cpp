#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "SceneRecorder.h"
#include "scene/BallCube.h"

namespace {

class BallCube : public ::testing::Test {
  protected:
    void SetUp() override { ResetScene(); }
    void TearDown() override { ReleaseScenePoints(); }
};

struct CubeCase {
    std::int32_t n;
    std::int32_t count;
    double low;   // First coordinate on each axis.
    double high;  // Last coordinate on each axis.
    double centre;
};

TEST_F(BallCube, BuildsCubesOfEachSize) {
    const CubeCase cases[] = {
        {1, 1, 0.0, 0.0, 0.0},      {2, 8, -16.0, 0.0, -8.0},      {3, 27, -16.0, 16.0, 0.0},
        {9, 729, -64.0, 64.0, 0.0}, {10, 1000, -80.0, 64.0, -8.0},
    };
    for (const CubeCase& c : cases) {
        SCOPED_TRACE(c.n);
        BuildBallCube(c.n);
        ASSERT_EQ(pointCount, c.count);
        ASSERT_NE(modelPoints, nullptr);
        ASSERT_NE(viewPoints, nullptr);
        const Point4& first = modelPoints[0];
        const Point4& last = modelPoints[c.count - 1];
        EXPECT_EQ(first.x, c.low);
        EXPECT_EQ(first.y, c.low);
        EXPECT_EQ(first.z, c.low);
        EXPECT_EQ(last.x, c.high);
        EXPECT_EQ(last.y, c.high);
        EXPECT_EQ(last.z, c.high);
        EXPECT_EQ(last.sprite, (c.count - 1) & 1);
        for (std::int32_t k = 0; k < c.count; ++k) {
            ASSERT_EQ(modelPoints[k].w, 1.0);
            ASSERT_EQ(modelPoints[k].sprite, k & 1);
        }
        const Point4 mean = Centroid(modelPoints, pointCount);
        EXPECT_NEAR(mean.x, c.centre, 1e-12);
        EXPECT_NEAR(mean.y, c.centre, 1e-12);
        EXPECT_NEAR(mean.z, c.centre, 1e-12);
    }
}

TEST_F(BallCube, XRunsFastestThenYThenZ) {
    BuildBallCube(2);
    const double expected[8][3] = {{-16, -16, -16}, {0, -16, -16}, {-16, 0, -16}, {0, 0, -16},
                                   {-16, -16, 0},   {0, -16, 0},   {-16, 0, 0},   {0, 0, 0}};
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(modelPoints[k].x, expected[k][0]) << k;
        EXPECT_EQ(modelPoints[k].y, expected[k][1]) << k;
        EXPECT_EQ(modelPoints[k].z, expected[k][2]) << k;
        EXPECT_EQ(modelPoints[k].sprite, k % 2) << k;
    }
}

TEST_F(BallCube, OddSizesMakeACheckerboard) {
    BuildBallCube(3);
    const std::vector<std::int32_t> firstLines = {0, 1, 0, 1, 0, 1};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(modelPoints[k].sprite, firstLines[static_cast<std::size_t>(k)]) << k;
    }
}

TEST_F(BallCube, UnusableSizesGiveNoBalls) {
    // Zero and negative sizes have no balls; above the cap n^3 or its byte size would be
    // absurd or would not fit at all.
    for (const std::int32_t n :
         {0, -1, -2, -2000, INT32_MIN, kMaxBallsPerLine + 1, 1291, 1626, INT32_MAX}) {
        SCOPED_TRACE(n);
        BuildBallCube(3);
        BuildBallCube(n);
        EXPECT_EQ(pointCount, 0);
        EXPECT_EQ(modelPoints, nullptr);
        EXPECT_EQ(viewPoints, nullptr);
        EXPECT_EQ(Centroid(modelPoints, pointCount).x, 0.0);
    }
}

TEST_F(BallCube, TheLargestAllowedCubeIsBuilt) {
    BuildBallCube(kMaxBallsPerLine);
    EXPECT_EQ(pointCount, kMaxBallsPerLine * kMaxBallsPerLine * kMaxBallsPerLine);
    EXPECT_EQ(modelPoints[pointCount - 1].x, 784.0);
}

TEST_F(BallCube, ReleaseFreesAndForgetsThePoints) {
    BuildBallCube(4);
    ReleaseScenePoints();
    EXPECT_EQ(modelPoints, nullptr);
    EXPECT_EQ(viewPoints, nullptr);
    EXPECT_EQ(pointCount, 0);
    ReleaseScenePoints();  // A second release finds nothing to free.
}

}  // namespace
