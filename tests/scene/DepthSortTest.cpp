#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "scene/DepthSort.h"
#include "tests/scene/ReferenceDepthSort.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
using Order = std::vector<std::int32_t>;
using SortFunction = void (*)(std::int32_t, std::int32_t, Point4*);

// Sorts points[first..last] whose sprite carries the original index and whose x and w follow
// from it; the result reads as a permutation, -1 where a record did not travel whole.
Order Sorted(const std::vector<double>& depths, SortFunction sort, std::int32_t first = 0,
             std::int32_t last = -2) {
    std::vector<Point4> points;
    for (std::int32_t i = 0; const double depth : depths) {
        points.push_back(Point4{-1.0 * i, 0.0, depth, 0.5 * i, i});
        ++i;
    }
    sort(first, last == -2 ? static_cast<std::int32_t>(depths.size()) - 1 : last, points.data());
    Order order;
    for (const Point4& p : points) {
        order.push_back(p.x == -1.0 * p.sprite && p.w == 0.5 * p.sprite ? p.sprite : -1);
    }
    return order;
}

void ExpectLikeReference(const std::vector<double>& depths) {
    ASSERT_EQ(Sorted(depths, SortByDepth), Sorted(depths, reference::SortByDepth));
}

TEST(DepthSort, GivesTheDocumentedOrders) {
    EXPECT_EQ(Sorted({1, 2, 3}, SortByDepth), (Order{2, 1, 0}));
    // a, b, c, d of equal depth come out b, c, a, d; 5a, 5b, 7c, 5d, 7e come out c, e, a, d, b.
    EXPECT_EQ(Sorted({4, 4, 4, 4}, SortByDepth), (Order{1, 2, 0, 3}));
    EXPECT_EQ(Sorted({5, 5, 7, 5, 7}, SortByDepth), (Order{2, 4, 0, 3, 1}));
    EXPECT_EQ(Sorted({3}, SortByDepth), (Order{0}));
    SortByDepth(0, -1, nullptr);
    // Only the given range moves.
    EXPECT_EQ(Sorted({9, 1, 5, 5, 7, 5, 2, 8}, SortByDepth, 2, 6), (Order{0, 1, 4, 2, 5, 3, 6, 7}));
}

// The shapes that stress a middle-pivot quicksort and the ones where ties decide the order:
// random, few distinct, all equal, sorted both ways, NaN, signed zeros and infinity; then every
// array of up to seven depths from two numbers and NaN.
TEST(DepthSort, MatchesTheReferenceOnVariedInputs) {
    std::mt19937 random(12345);
    const double specials[] = {0.0, -0.0, std::numeric_limits<double>::infinity(), kNaN};
    for (int size : {2, 3, 5, 17, 100, 1000, 3000}) {
        std::vector<double> shapes[8];
        for (int i = 0; i < size; ++i) {
            shapes[0].push_back(std::uniform_real_distribution<double>(-500, 500)(random));
            shapes[1].push_back(static_cast<double>(random() % 4));
            shapes[2].push_back(42.0);
            shapes[3].push_back(i);
            shapes[4].push_back(-i);
            shapes[5].push_back(random() % 5 == 0 ? kNaN : static_cast<double>(random() % 50));
            shapes[6].push_back(i < size / 2 ? i : size - i);
            shapes[7].push_back(specials[random() % 4]);
        }
        for (const std::vector<double>& depths : shapes) {
            ExpectLikeReference(depths);
        }
    }
    for (int length = 0, combinations = 1; length <= 7; ++length, combinations *= 3) {
        for (int code = 0; code < combinations; ++code) {
            std::vector<double> depths;
            for (int i = 0, rest = code; i < length; ++i, rest /= 3) {
                depths.push_back(rest % 3 == 2 ? kNaN : rest % 3);
            }
            ExpectLikeReference(depths);
        }
    }
}

// The plain partition step on its own, ties and NaN included.
TEST(DepthSort, PartitionIsOneStepOfTheReference) {
    std::mt19937 random(99);
    for (int trial = 0; trial < 500; ++trial) {
        std::vector<Point4> points, expected;
        for (std::int32_t i = 0; i < 40; ++i) {
            const double depth = random() % 17 == 0 ? kNaN : static_cast<double>(random() % 8);
            points.push_back(Point4{0.0, 0.0, depth, 0.0, i});
        }
        expected = points;
        const auto first = static_cast<std::int32_t>(random() % 20);
        const auto last = first + static_cast<std::int32_t>(random() % 20);
        ASSERT_EQ(Partition(first, last, points.data()),
                  reference::Partition(first, last, expected.data()));
        for (std::size_t i = 0; i < points.size(); ++i) {
            ASSERT_EQ(points[i].sprite, expected[i].sprite) << i;
        }
    }
}

}  // namespace
