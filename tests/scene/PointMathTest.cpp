#include <gtest/gtest.h>

#include <cmath>

#include "scene/Matrix4.h"
#include "scene/Point4.h"
#include "scene/Projection.h"
#include "scene/TrigTables.h"

namespace {

class PointMath : public ::testing::Test {
  protected:
    void SetUp() override { FillTrigTables(); }
};

void ExpectIdentity(const Matrix4& m) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(m.m[r][c], r == c ? 1.0 : 0.0) << r << "," << c;
        }
    }
}

Matrix4 Sample(double offset) {
    Matrix4 m;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            m.m[r][c] = offset + r * 4 + c;
        }
    }
    return m;
}

Matrix4 PlainProduct(const Matrix4& a, const Matrix4& b) {
    Matrix4 d;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            d.m[r][c] = 0.0;
            for (int k = 0; k < 4; ++k) {
                d.m[r][c] += a.m[r][k] * b.m[k][c];
            }
        }
    }
    return d;
}

TEST_F(PointMath, TablesTakePiAsThreePointOneFour) {
    EXPECT_EQ(sinTable[0], 0.0);
    EXPECT_EQ(cosTable[0], 1.0);
    EXPECT_NEAR(sinTable[180], 0.0015927, 1e-7);
    EXPECT_EQ(sinTable[90], std::sin((90 * 3.14) * 0.005555555555555556));
    EXPECT_NEAR(cosTable[359], std::cos(6.2626), 1e-4);
}

TEST_F(PointMath, RotationsByZeroAreTheIdentity) {
    Matrix4 m;
    SetRotationX(m, 0);
    ExpectIdentity(m);
    SetRotationY(m, 0);
    ExpectIdentity(m);
    SetRotationZ(m, 0);
    ExpectIdentity(m);
}

TEST_F(PointMath, RotationsTurnRowPointsTheDocumentedWay) {
    Matrix4 m;
    SetRotationZ(m, 90);
    const Point4 z = Transform(MakePoint(1.0, 0.0, 0.0, 3), m);
    EXPECT_NEAR(z.x, 0.000796, 1e-6);
    EXPECT_NEAR(z.y, -0.9999997, 1e-7);
    EXPECT_EQ(z.z, 0.0);
    EXPECT_EQ(z.sprite, 3);

    const double c = cosTable[30], s = sinTable[30];
    SetRotationX(m, 30);
    const Point4 x = Transform(MakePoint(5.0, 2.0, 3.0, 0), m);
    EXPECT_DOUBLE_EQ(x.x, 5.0);
    EXPECT_DOUBLE_EQ(x.y, 2.0 * c + 3.0 * s);
    EXPECT_DOUBLE_EQ(x.z, -2.0 * s + 3.0 * c);

    SetRotationY(m, 30);
    const Point4 y = Transform(MakePoint(5.0, 2.0, 3.0, 0), m);
    EXPECT_DOUBLE_EQ(y.x, 5.0 * c - 3.0 * s);
    EXPECT_DOUBLE_EQ(y.y, 2.0);
    EXPECT_DOUBLE_EQ(y.z, 5.0 * s + 3.0 * c);
}

TEST_F(PointMath, MultiplyIsSafeWhenTheProductIsAnOperand) {
    const Matrix4 a = Sample(1.0), b = Sample(-3.0);
    Matrix4 left = a;
    Multiply(left, b, left);
    Matrix4 right = b;
    Multiply(a, right, right);
    Matrix4 square = a;
    Multiply(square, square, square);
    const Matrix4 ab = PlainProduct(a, b), aa = PlainProduct(a, a);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(left.m[r][c], ab.m[r][c]);
            EXPECT_EQ(right.m[r][c], ab.m[r][c]);
            EXPECT_EQ(square.m[r][c], aa.m[r][c]);
        }
    }
}

TEST_F(PointMath, TransformIgnoresWAndUsesRowThreeAsTranslation) {
    Matrix4 m;
    SetIdentity(m);
    m.m[3][0] = 10.0;
    m.m[3][1] = 20.0;
    m.m[3][2] = 30.0;
    m.m[0][3] = 99.0;  // Column 3 is never read.
    Point4 p = MakePoint(1.0, 2.0, 3.0, 1);
    p.w = 5.0;
    const Point4 t = Transform(p, m);
    EXPECT_EQ(t.x, 11.0);
    EXPECT_EQ(t.y, 22.0);
    EXPECT_EQ(t.z, 33.0);
    EXPECT_EQ(t.w, 1.0);
    EXPECT_EQ(t.sprite, 1);
}

TEST_F(PointMath, AddAndSubtractCarryWAndTheLeftSprite) {
    const Point4 a = MakePoint(1.0, 2.0, 3.0, 1), b = MakePoint(10.0, 20.0, 30.0, 0);
    const Point4 sum = Add(a, b);
    EXPECT_EQ(sum.x, 11.0);
    EXPECT_EQ(sum.z, 33.0);
    EXPECT_EQ(sum.w, 2.0);
    EXPECT_EQ(sum.sprite, 1);
    const Point4 difference = Subtract(b, a);
    EXPECT_EQ(difference.y, 18.0);
    EXPECT_EQ(difference.w, 0.0);
    EXPECT_EQ(difference.sprite, 0);
}

TEST_F(PointMath, CentroidDividesEachPointBeforeSumming) {
    const Point4 none = Centroid(nullptr, 0);
    EXPECT_EQ(none.x, 0.0);
    EXPECT_EQ(none.w, 0.0);
    const Point4 two[] = {MakePoint(0, 0, 0, 1), MakePoint(16, 32, 48, 1)};
    const Point4 mean = Centroid(two, 2);
    EXPECT_EQ(mean.x, 8.0);
    EXPECT_EQ(mean.y, 16.0);
    EXPECT_EQ(mean.z, 24.0);
    EXPECT_EQ(mean.w, 0.0);
    EXPECT_EQ(mean.sprite, 0);
    // Three values of 1/3 each: divided first, the sum is 0.1 + 0.1 + 0.1 rounded stepwise.
    const Point4 three[] = {MakePoint(0.3, 0, 0, 0), MakePoint(0.3, 0, 0, 0),
                            MakePoint(0.3, 0, 0, 0)};
    EXPECT_EQ(Centroid(three, 3).x, 0.3 / 3 + 0.3 / 3 + 0.3 / 3);
}

TEST(FocalLengths, FillFourToThreeAreas) {
    Projection screen{0, 0, 640, 480, 40, 0.75};
    UpdateFocalLengths(screen);
    EXPECT_NEAR(screen.hFocal, 879.677, 1e-3);
    EXPECT_NEAR(screen.vFocal, 879.677, 1e-3);
    Projection preview{0, 0, 152, 112, 40, 0.75};
    UpdateFocalLengths(preview);
    EXPECT_NEAR(preview.hFocal, 208.923, 1e-3);
    EXPECT_NEAR(preview.vFocal, 205.258, 1e-3);
}

}  // namespace
