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

TEST(PointMath, TablesAndRotationsTurnRowPointsTheDocumentedWay) {
    FillTrigTables();
    EXPECT_EQ(sinTable[0], 0.0);
    EXPECT_EQ(cosTable[0], 1.0);
    EXPECT_EQ(sinTable[90], std::sin((90 * 3.14) * 0.005555555555555556));
    EXPECT_NEAR(sinTable[180], 0.0015927, 1e-7);  // Pi taken as 3.14.
    Matrix4 m;
    SetRotationZ(m, 90);
    const Point4 z = Transform(MakePoint(1.0, 0.0, 0.0, 3), m);
    EXPECT_NEAR(z.x, 0.000796, 1e-6);
    EXPECT_NEAR(z.y, -0.9999997, 1e-7);
    EXPECT_EQ(z.z, 0.0);
    const double c = cosTable[30], s = sinTable[30];
    SetRotationX(m, 30);
    ExpectPoint(Transform(MakePoint(5.0, 2.0, 3.0, 0), m), 5.0, 2 * c + 3 * s, -2 * s + 3 * c, 1,
                0);
    SetRotationY(m, 30);
    ExpectPoint(Transform(MakePoint(5.0, 2.0, 3.0, 0), m), 5 * c - 3 * s, 2.0, 5 * s + 3 * c, 1, 0);
    // Row 3 translates, column 3 and w are never read, w becomes 1, the sprite travels.
    SetIdentity(m);
    m.m[3][0] = 10.0;
    m.m[3][1] = 20.0;
    m.m[3][2] = 30.0;
    m.m[0][3] = 99.0;
    ExpectPoint(Transform(Point4{1.0, 2.0, 3.0, 5.0, 1}, m), 11, 22, 33, 1, 1);
}

TEST(PointMath, MultiplyIsSafeWhenTheProductIsAnOperand) {
    Matrix4 a, b;
    for (int i = 0; i < 16; ++i) {
        a.m[i / 4][i % 4] = 1.0 + i;
        b.m[i / 4][i % 4] = -3.0 + i * i;
    }
    Matrix4 ab{}, aa{};
    for (int i = 0; i < 64; ++i) {
        ab.m[i / 16][i % 4] += a.m[i / 16][(i / 4) % 4] * b.m[(i / 4) % 4][i % 4];
        aa.m[i / 16][i % 4] += a.m[i / 16][(i / 4) % 4] * a.m[(i / 4) % 4][i % 4];
    }
    Matrix4 left = a, right = b, square = a;
    Multiply(left, b, left);
    Multiply(a, right, right);
    Multiply(square, square, square);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(left.m[i / 4][i % 4], ab.m[i / 4][i % 4]) << i;
        EXPECT_EQ(right.m[i / 4][i % 4], ab.m[i / 4][i % 4]) << i;
        EXPECT_EQ(square.m[i / 4][i % 4], aa.m[i / 4][i % 4]) << i;
    }
}

TEST(PointMath, AddSubtractAndCentroid) {
    const Point4 a = MakePoint(1.0, 2.0, 3.0, 1), b = MakePoint(10.0, 20.0, 30.0, 0);
    ExpectPoint(Add(a, b), 11, 22, 33, 2, 1);  // w adds up; the sprite is the left one's.
    ExpectPoint(Subtract(b, a), 9, 18, 27, 0, 0);
    ExpectPoint(Centroid(nullptr, 0), 0, 0, 0, 0, 0);
    const Point4 two[] = {MakePoint(0, 0, 0, 1), MakePoint(16, 32, 48, 1)};
    ExpectPoint(Centroid(two, 2), 8, 16, 24, 0, 0);
    // Each value is divided before the sum: 0.1 + 0.1 + 0.1 rounded stepwise.
    const Point4 three[] = {MakePoint(0.3, 0, 0, 0), MakePoint(0.3, 0, 0, 0),
                            MakePoint(0.3, 0, 0, 0)};
    EXPECT_EQ(Centroid(three, 3).x, 0.3 / 3 + 0.3 / 3 + 0.3 / 3);
}

TEST(PointMath, FocalLengthsFillFourToThreeAreas) {
    Projection screen{0, 0, 640, 480, 40, 0.75}, preview{0, 0, 152, 112, 40, 0.75};
    UpdateFocalLengths(screen);
    UpdateFocalLengths(preview);
    EXPECT_NEAR(screen.hFocal, 879.677, 1e-3);
    EXPECT_NEAR(screen.vFocal, 879.677, 1e-3);
    EXPECT_NEAR(preview.hFocal, 208.923, 1e-3);
    EXPECT_NEAR(preview.vFocal, 205.258, 1e-3);
}

}  // namespace
