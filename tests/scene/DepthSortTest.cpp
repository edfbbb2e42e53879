#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "scene/DepthSort.h"
#include "scene/Matrix4.h"
#include "scene/TrigTables.h"
#include "tests/scene/ReferenceDepthSort.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Points whose sprite carries their original index (and whose x, y and w follow from it), so a
// sorted array reads as a permutation and shows whether whole records travelled together.
std::vector<Point4> Tagged(const std::vector<double>& depths) {
    std::vector<Point4> points;
    for (std::size_t i = 0; i < depths.size(); ++i) {
        const double tag = static_cast<double>(i);
        points.push_back(Point4{tag, -tag, depths[i], 0.5 * tag, static_cast<std::int32_t>(i)});
    }
    return points;
}

std::vector<std::int32_t> Order(const std::vector<Point4>& points) {
    std::vector<std::int32_t> order;
    for (const Point4& p : points) {
        const double tag = static_cast<double>(p.sprite);
        const bool whole = p.x == tag && p.y == -tag && p.w == 0.5 * tag;
        order.push_back(whole ? p.sprite : -1);
    }
    return order;
}

std::int32_t LastIndex(const std::vector<double>& depths) {
    return static_cast<std::int32_t>(depths.size()) - 1;
}

std::vector<std::int32_t> SortedOrder(const std::vector<double>& depths) {
    std::vector<Point4> points = Tagged(depths);
    SortByDepth(0, LastIndex(depths), points.data());
    return Order(points);
}

std::vector<std::int32_t> ReferenceOrder(const std::vector<double>& depths) {
    std::vector<Point4> points = Tagged(depths);
    reference::SortByDepth(0, LastIndex(depths), points.data());
    return Order(points);
}

// Depths of a cube of n^3 balls 16 apart, turned by Rz x Ry x Rx about its centroid and pushed
// back by 800, in the order the cube is built: what a frame hands to the sort. At rest every
// layer of n^2 balls shares one depth.
std::vector<double> CubeDepths(int n, int aboutX, int aboutY, int aboutZ) {
    FillTrigTables();
    Matrix4 rx, ry, rz, m;
    SetRotationX(rx, aboutX);
    SetRotationY(ry, aboutY);
    SetRotationZ(rz, aboutZ);
    SetIdentity(m);
    Multiply(m, rz, m);
    Multiply(m, ry, m);
    Multiply(m, rx, m);
    const double origin = -(n >> 1) * 16.0;
    std::vector<Point4> cube;
    for (int iz = 0; iz < n; ++iz) {
        for (int iy = 0; iy < n; ++iy) {
            for (int ix = 0; ix < n; ++ix) {
                cube.push_back(MakePoint(origin + 16 * ix, origin + 16 * iy, origin + 16 * iz, 0));
            }
        }
    }
    const Point4 centre = Centroid(cube.data(), static_cast<std::int32_t>(cube.size()));
    std::vector<double> depths;
    for (const Point4& p : cube) {
        depths.push_back(Transform(Subtract(p, centre), m).z + 800.0);
    }
    return depths;
}

TEST(DepthSort, GivesTheDocumentedOrders) {
    EXPECT_EQ(SortedOrder({1, 2, 3}), (std::vector<std::int32_t>{2, 1, 0}));
    // a, b, c, d of equal depth come out b, c, a, d.
    EXPECT_EQ(SortedOrder({4, 4, 4, 4}), (std::vector<std::int32_t>{1, 2, 0, 3}));
    // 5a, 5b, 7c, 5d, 7e come out c, e, a, d, b.
    EXPECT_EQ(SortedOrder({5, 5, 7, 5, 7}), (std::vector<std::int32_t>{2, 4, 0, 3, 1}));
}

TEST(DepthSort, EmptyAndSingleRangesChangeNothing) {
    std::vector<Point4> one = Tagged({3.0});
    SortByDepth(0, 0, one.data());
    EXPECT_EQ(Order(one), (std::vector<std::int32_t>{0}));
    SortByDepth(0, -1, nullptr);
}

TEST(DepthSort, SwappingARecordWithItselfKeepsIt) {
    Point4 p = MakePoint(1.0, 2.0, 3.0, 7);
    SwapPoints(p, p);
    EXPECT_EQ(p.x, 1.0);
    EXPECT_EQ(p.z, 3.0);
    EXPECT_EQ(p.sprite, 7);
}

struct SortCase {
    std::string name;
    std::vector<double> depths;
};

// Random and structured inputs: the shapes that stress a middle-pivot quicksort and the ones
// where ties decide the order.
std::vector<SortCase> StructuredCases() {
    std::mt19937 random(12345);
    std::vector<SortCase> cases;
    for (int size : {2, 3, 5, 17, 100, 1000, 3000}) {
        std::vector<double> uniform, few, equal, ascending, descending, withNan, sawtooth, organ;
        std::vector<double> signedZeros;
        for (int i = 0; i < size; ++i) {
            uniform.push_back(std::uniform_real_distribution<double>(-500, 500)(random));
            few.push_back(static_cast<double>(random() % 4));
            equal.push_back(42.0);
            ascending.push_back(i);
            descending.push_back(-i);
            withNan.push_back(random() % 5 == 0 ? kNaN : static_cast<double>(random() % 50));
            sawtooth.push_back(i % 7);
            organ.push_back(i < size / 2 ? i : size - i);
            // -0.0 and 0.0 compare equal; infinities are ordinary depths.
            const double specials[] = {0.0, -0.0, std::numeric_limits<double>::infinity(), 1.0};
            signedZeros.push_back(specials[random() % 4]);
        }
        const std::string n = std::to_string(size);
        cases.push_back({"uniform" + n, uniform});
        cases.push_back({"fewDistinct" + n, few});
        cases.push_back({"allEqual" + n, equal});
        cases.push_back({"ascending" + n, ascending});
        cases.push_back({"descending" + n, descending});
        cases.push_back({"withNaN" + n, withNan});
        cases.push_back({"sawtooth" + n, sawtooth});
        cases.push_back({"organPipe" + n, organ});
        cases.push_back({"zerosAndInfinity" + n, signedZeros});
    }
    return cases;
}

TEST(DepthSort, MatchesTheReferenceOnStructuredInputs) {
    for (const SortCase& c : StructuredCases()) {
        EXPECT_EQ(SortedOrder(c.depths), ReferenceOrder(c.depths)) << c.name;
    }
}

// Every array of up to seven depths drawn from two numbers and NaN, then many random arrays up
// to a few hundred long with few distinct depths: every path of the sort meets ties there.
TEST(DepthSort, MatchesTheReferenceOnManySmallArrays) {
    const double alphabet[] = {1.0, 2.0, kNaN};
    for (int length = 0; length <= 7; ++length) {
        int combinations = 1;
        for (int i = 0; i < length; ++i) {
            combinations *= 3;
        }
        for (int code = 0; code < combinations; ++code) {
            std::vector<double> depths;
            for (int i = 0, rest = code; i < length; ++i, rest /= 3) {
                depths.push_back(alphabet[rest % 3]);
            }
            ASSERT_EQ(SortedOrder(depths), ReferenceOrder(depths)) << "code " << code;
        }
    }
    std::mt19937 random(777);
    for (int trial = 0; trial < 3000; ++trial) {
        const auto length = static_cast<std::size_t>(random() % 300);
        const auto distinct = 1 + random() % 6;
        std::vector<double> depths;
        for (std::size_t i = 0; i < length; ++i) {
            depths.push_back(random() % 13 == 0 ? kNaN : static_cast<double>(random() % distinct));
        }
        ASSERT_EQ(SortedOrder(depths), ReferenceOrder(depths)) << "trial " << trial;
    }
}

TEST(DepthSort, SortsOnlyTheGivenRange) {
    const std::vector<double> depths = {9, 1, 5, 5, 7, 5, 2, 8};
    std::vector<Point4> points = Tagged(depths);
    std::vector<Point4> expected = Tagged(depths);
    SortByDepth(2, 6, points.data());
    reference::SortByDepth(2, 6, expected.data());
    EXPECT_EQ(Order(points), Order(expected));
    EXPECT_EQ(Order(points)[0], 0);
    EXPECT_EQ(Order(points)[7], 7);
}

struct CubeCase {
    int n;
    int aboutX, aboutY, aboutZ;
};

// Cubes at rest (layers of equal depth, quadratic for the plain algorithm), turned about z only
// (layers still tied) and at generic angles. The reference needs about 0.2 s for the largest
// cube at rest, so that one runs in native builds only, which keeps the Wine run short.
TEST(DepthSort, MatchesTheReferenceOnCubes) {
    const CubeCase cases[] = {
        {9, 0, 0, 0},  {9, 37, 101, 250}, {9, 0, 0, 90}, {20, 0, 0, 0},     {20, 37, 101, 250},
        {20, 1, 2, 3}, {20, 0, 0, 45},    {40, 0, 0, 0}, {40, 200, 45, 77}, {60, 123, 321, 11},
#ifndef _WIN32
        {60, 0, 0, 0},
#endif  // _WIN32
    };
    for (const CubeCase& c : cases) {
        const std::vector<double> depths = CubeDepths(c.n, c.aboutX, c.aboutY, c.aboutZ);
        EXPECT_EQ(SortedOrder(depths), ReferenceOrder(depths))
            << "n " << c.n << " angles " << c.aboutX << ", " << c.aboutY << ", " << c.aboutZ;
    }
}

TEST(DepthSort, PartitionIsOneStepOfTheReference) {
    std::mt19937 random(99);
    for (int trial = 0; trial < 500; ++trial) {
        std::vector<double> depths;
        for (int i = 0; i < 40; ++i) {
            depths.push_back(random() % 17 == 0 ? kNaN : static_cast<double>(random() % 8));
        }
        const auto first = static_cast<std::int32_t>(random() % 20);
        const auto last = first + static_cast<std::int32_t>(random() % 20);
        std::vector<Point4> points = Tagged(depths);
        std::vector<Point4> expected = Tagged(depths);
        ASSERT_EQ(Partition(first, last, points.data()),
                  reference::Partition(first, last, expected.data()));
        ASSERT_EQ(Order(points), Order(expected));
    }
}

TEST(DepthSort, FartherPointsComeFirst) {
    for (const SortCase& c : StructuredCases()) {
        if (c.name.starts_with("withNaN")) {
            continue;  // NaN depths compare false both ways and may land anywhere.
        }
        std::vector<Point4> points = Tagged(c.depths);
        SortByDepth(0, LastIndex(c.depths), points.data());
        for (std::size_t i = 1; i < points.size(); ++i) {
            ASSERT_GE(points[i - 1].z, points[i].z) << c.name << " at " << i;
        }
    }
}

}  // namespace
