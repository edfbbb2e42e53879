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

// Points whose sprite field carries their original index, so a sorted array reads as a
// permutation.
std::vector<Point4> Tagged(const std::vector<double>& depths) {
    std::vector<Point4> points;
    for (std::size_t i = 0; i < depths.size(); ++i) {
        points.push_back(MakePoint(0.0, 0.0, depths[i], static_cast<std::int32_t>(i)));
    }
    return points;
}

std::vector<std::int32_t> Order(const std::vector<Point4>& points) {
    std::vector<std::int32_t> order;
    for (const Point4& p : points) {
        order.push_back(p.sprite);
    }
    return order;
}

std::vector<std::int32_t> SortedOrder(const std::vector<double>& depths) {
    std::vector<Point4> points = Tagged(depths);
    SortByDepth(0, static_cast<std::int32_t>(points.size()) - 1, points.data());
    return Order(points);
}

std::vector<std::int32_t> ReferenceOrder(const std::vector<double>& depths) {
    std::vector<Point4> points = Tagged(depths);
    reference::SortByDepth(0, static_cast<std::int32_t>(points.size()) - 1, points.data());
    return Order(points);
}

// Depths of a cube of n^3 balls 16 apart, turned by the given angles and pushed back by 400.
std::vector<double> CubeDepths(int n, int a, int b, int c) {
    FillTrigTables();
    Matrix4 rx, ry, rz, m;
    SetRotationX(rx, a);
    SetRotationY(ry, b);
    SetRotationZ(rz, c);
    SetIdentity(m);
    Multiply(m, rz, m);
    Multiply(m, ry, m);
    Multiply(m, rx, m);
    const double origin = -(n >> 1) * 16.0;
    std::vector<double> depths;
    for (int iz = 0; iz < n; ++iz) {
        for (int iy = 0; iy < n; ++iy) {
            for (int ix = 0; ix < n; ++ix) {
                const Point4 p = MakePoint(origin + 16 * ix, origin + 16 * iy, origin + 16 * iz, 0);
                depths.push_back(Transform(p, m).z + 800.0);
            }
        }
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

std::vector<SortCase> SortCases() {
    std::mt19937 random(12345);
    std::vector<SortCase> cases;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (int size : {2, 3, 5, 17, 100, 1000, 3000}) {
        std::vector<double> uniform, few, equal, ascending, descending, withNan, sawtooth;
        for (int i = 0; i < size; ++i) {
            uniform.push_back(std::uniform_real_distribution<double>(-500, 500)(random));
            few.push_back(static_cast<double>(random() % 4));
            equal.push_back(42.0);
            ascending.push_back(i);
            descending.push_back(-i);
            withNan.push_back(random() % 5 == 0 ? nan : static_cast<double>(random() % 50));
            sawtooth.push_back(i % 7);
        }
        const std::string n = std::to_string(size);
        cases.push_back({"uniform" + n, uniform});
        cases.push_back({"fewDistinct" + n, few});
        cases.push_back({"allEqual" + n, equal});
        cases.push_back({"ascending" + n, ascending});
        cases.push_back({"descending" + n, descending});
        cases.push_back({"withNaN" + n, withNan});
        cases.push_back({"sawtooth" + n, sawtooth});
    }
    for (int n : {2, 3, 9, 12}) {
        cases.push_back({"cubeAtRest" + std::to_string(n), CubeDepths(n, 0, 0, 0)});
        cases.push_back({"cubeTurned" + std::to_string(n), CubeDepths(n, 37, 101, 250)});
        cases.push_back({"cubeAboutZ" + std::to_string(n), CubeDepths(n, 0, 0, 90)});
    }
    return cases;
}

TEST(DepthSort, MatchesTheReferencePermutationExactly) {
    for (const SortCase& c : SortCases()) {
        EXPECT_EQ(SortedOrder(c.depths), ReferenceOrder(c.depths)) << c.name;
    }
}

TEST(DepthSort, FartherPointsComeFirst) {
    for (const SortCase& c : SortCases()) {
        if (c.name.starts_with("withNaN")) {
            continue;  // NaN depths compare false both ways and may land anywhere.
        }
        std::vector<Point4> points = Tagged(c.depths);
        SortByDepth(0, static_cast<std::int32_t>(points.size()) - 1, points.data());
        for (std::size_t i = 1; i < points.size(); ++i) {
            ASSERT_GE(points[i - 1].z, points[i].z) << c.name << " at " << i;
        }
    }
}

}  // namespace
