#include <gtest/gtest.h>

#include <cmath>

#include "scene/Matrix4.h"
#include "scene/Point4.h"
#include "scene/Projection.h"
#include "scene/TrigTables.h"

namespace {

void ExpectPoint(const Point4& p, double x, double y, double z, double w, int sprite) {
    EXPECT_DOUBLE_EQ(p.x, x);
    EXPECT_DOUBLE_EQ(p.y, y);
    EXPECT_DOUBLE_EQ(p.z, z);
    EXPECT_EQ(p.w, w);
    EXPECT_EQ(p.sprite, sprite);
}

// Pi is taken as 3.14; a point is a row multiplied from the left.
TEST(PointMath, TablesAndRotationsTurnRowPointsTheDocumentedWay) {
    FillTrigTables();
    EXPECT_EQ(sinTable[0], 0.0);
    EXPECT_EQ(cosTable[0], 1.0);
    EXPECT_EQ(sinTable[90], std::sin((90 * 3.14) * 0.005555555555555556));
    EXPECT_NEAR(sinTable[180], 0.0015927, 1e-7);
    Matrix4 m;
    const double c = cosTable[30], s = sinTable[30];
    SetRotationX(m, 30);
    ExpectPoint(Transform(MakePoint(5, 2, 3, 0), m), 5.0, 2 * c + 3 * s, -2 * s + 3 * c, 1, 0);
    SetRotationY(m, 30);
    ExpectPoint(Transform(MakePoint(5, 2, 3, 0), m), 5 * c - 3 * s, 2.0, 5 * s + 3 * c, 1, 0);
    SetRotationZ(m, 30);
    ExpectPoint(Transform(MakePoint(5, 2, 3, 0), m), 5 * c + 2 * s, -5 * s + 2 * c, 3.0, 1, 0);
    // Row 3 translates, column 3 and w are never read, w becomes 1, the sprite travels.
    SetIdentity(m);
    m.m[3][0] = 10.0;
    m.m[3][1] = 20.0;
    m.m[3][2] = 30.0;
    m.m[0][3] = 99.0;
    ExpectPoint(Transform(Point4{1.0, 2.0, 3.0, 5.0, 1}, m), 11, 22, 33, 1, 1);
}

// w adds up and the sprite is the left one's; each value is divided before the sum.
TEST(PointMath, AddSubtractCentroidAndFocalLengths) {
    const Point4 a = MakePoint(1.0, 2.0, 3.0, 1), b = MakePoint(10.0, 20.0, 30.0, 0);
    ExpectPoint(Add(a, b), 11, 22, 33, 2, 1);
    ExpectPoint(Subtract(b, a), 9, 18, 27, 0, 0);
    ExpectPoint(Centroid(nullptr, 0), 0, 0, 0, 0, 0);
    const Point4 two[] = {MakePoint(0, 0, 0, 1), MakePoint(16, 32, 48, 1)};
    ExpectPoint(Centroid(two, 2), 8, 16, 24, 0, 0);
    const Point4 three[] = {MakePoint(0.3, 0, 0, 0), MakePoint(0.3, 0, 0, 0),
                            MakePoint(0.3, 0, 0, 0)};
    EXPECT_EQ(Centroid(three, 3).x, 0.3 / 3 + 0.3 / 3 + 0.3 / 3);
    // The focal lengths of a 640 x 480 screen and of a 152 x 112 preview at 40 degrees.
    Projection screen{0, 0, 640, 480, 40, 0.75}, preview{0, 0, 152, 112, 40, 0.75};
    UpdateFocalLengths(screen);
    UpdateFocalLengths(preview);
    EXPECT_NEAR(screen.hFocal, 879.677, 1e-3);
    EXPECT_NEAR(screen.vFocal, 879.677, 1e-3);
    EXPECT_NEAR(preview.hFocal, 208.923, 1e-3);
    EXPECT_NEAR(preview.vFocal, 205.258, 1e-3);
}

}  // namespace
