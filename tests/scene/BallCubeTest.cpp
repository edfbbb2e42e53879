#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "SceneRecorder.h"
#include "scene/BallCube.h"

namespace {

// Points run x fastest, then y, then z, 16 apart from -(n >> 1) * 16; the sprite alternates
// with the index, and the centroid sits at the middle (-8 off for even sizes).
TEST(BallCube, BuildsCubesOfEachSizeInOrder) {
    ResetScene();
    for (std::int32_t n = 0; n <= 10; ++n) {
        SCOPED_TRACE(n);
        BuildBallCube(n);
        ASSERT_EQ(pointCount, n * n * n);
        ASSERT_EQ(modelPoints == nullptr || viewPoints == nullptr, n == 0);
        const double origin = -(n >> 1) * 16.0;
        for (std::int32_t k = 0; k < pointCount; ++k) {
            const Point4& p = modelPoints[k];
            ASSERT_EQ(p.x, origin + 16 * (k % n)) << k;
            ASSERT_EQ(p.y, origin + 16 * (k / n % n)) << k;
            ASSERT_EQ(p.z, origin + 16 * (k / n / n)) << k;
            ASSERT_EQ(p.w, 1.0);
            ASSERT_EQ(p.sprite, k & 1) << k;
        }
        const Point4 mean = Centroid(modelPoints, pointCount);
        EXPECT_NEAR(mean.x + mean.y + mean.z, n > 0 && n % 2 == 0 ? -24.0 : 0.0, 1e-12);
    }
    BuildBallCube(kMaxBallsPerLine);
    EXPECT_EQ(pointCount, kMaxBallsPerLine * kMaxBallsPerLine * kMaxBallsPerLine);
    ReleaseScenePoints();
    EXPECT_EQ(modelPoints, nullptr);
    EXPECT_EQ(viewPoints, nullptr);
    EXPECT_EQ(pointCount, 0);
    ReleaseScenePoints();  // A second release finds nothing to free.
}

// Negative sizes have no balls; above the cap n^3 or its byte size would be absurd or would not
// fit at all. An earlier cube is freed either way.
TEST(BallCube, UnusableSizesGiveNoBalls) {
    for (const std::int32_t n : {-1, -2000, INT32_MIN, kMaxBallsPerLine + 1, 1626, INT32_MAX}) {
        BuildBallCube(3);
        BuildBallCube(n);
        EXPECT_EQ(pointCount, 0) << n;
        EXPECT_EQ(modelPoints, nullptr) << n;
        EXPECT_EQ(viewPoints, nullptr) << n;
    }
}

}  // namespace
