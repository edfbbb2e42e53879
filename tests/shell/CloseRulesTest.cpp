#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "shell/CloseConfirmation.h"
#include "shell/CloseRules.h"

namespace {

TEST(CloseRules, OnlyPressesAndMovesAreClosingInput) {
    const struct {
        std::uint32_t message;
        bool closes;
    } cases[] = {
        {InputMessage::KeyDown, true},
        {InputMessage::SysKeyDown, true},
        {InputMessage::MouseMove, true},
        {InputMessage::LeftButtonDown, true},
        {InputMessage::RightButtonDown, true},
        {InputMessage::MiddleButtonDown, true},
        {InputMessage::KeyUp, false},
        {InputMessage::LeftButtonUp, false},
        {InputMessage::LeftButtonDoubleClick, false},
        {InputMessage::MouseWheel, false},
        {0x0105, false},  // System key release.
        {0x0010, false},  // WM_CLOSE itself.
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsClosingInput(c.message), c.closes) << "message 0x" << std::hex << c.message;
    }
}

TEST(CloseRules, MouseMovesCloseOnlyBeyondTheThresholdOnEitherAxis) {
    const ScreenPoint recorded{512, 384};
    const struct {
        std::int32_t dx;
        std::int32_t dy;
        bool closes;
    } cases[] = {
        {0, 0, false}, {4, 0, false},  {-4, 0, false}, {0, 4, false}, {0, -4, false},
        {4, 4, false}, {-4, 4, false}, {4, -4, false}, {5, 0, true},  {-5, 0, true},
        {0, 5, true},  {0, -5, true},  {5, 5, true},   {3, -5, true}, {1000, 0, true},
    };
    for (const auto& c : cases) {
        const ScreenPoint now{recorded.x + c.dx, recorded.y + c.dy};
        EXPECT_EQ(InputClosesSaver(InputMessage::MouseMove, recorded, now), c.closes)
            << "moved by " << c.dx << ", " << c.dy;
    }
}

TEST(CloseRules, ThresholdHoldsAtTheEdgesOfTheCoordinateRange) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    EXPECT_TRUE(MovedBeyondThreshold({kMin, 0}, {kMax, 0}));
    EXPECT_TRUE(MovedBeyondThreshold({0, kMax}, {0, kMin}));
    EXPECT_FALSE(MovedBeyondThreshold({kMin, kMax}, {kMin + 4, kMax - 4}));
}

TEST(CloseRules, TicksSinceIsWrapSafe) {
    const struct {
        std::uint32_t earlier;
        std::uint32_t later;
        std::uint32_t since;
    } cases[] = {
        {1000, 1199, 199},
        {0, 0, 0},
        {0xFFFFFF9CU, 0x00000064U, 200},  // 100 ms before the wrap to 100 ms after it.
        {0xFFFFFFFFU, 0x00000000U, 1},
        {0x00000010U, 0x0000000FU, 0xFFFFFFFFU},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TicksSince(c.earlier, c.later), c.since) << c.earlier << " -> " << c.later;
    }
}

TEST(CloseRules, QueriesAreSpacedBy200Milliseconds) {
    EXPECT_TRUE(QueryMayStart(kNoQueryYet, 0));
    EXPECT_TRUE(QueryMayStart(kNoQueryYet, 5));  // No spacing before the first query.
    EXPECT_FALSE(QueryMayStart(1000, 1000));
    EXPECT_FALSE(QueryMayStart(1000, 1199));
    EXPECT_TRUE(QueryMayStart(1000, 1200));
    // Across the wrap of the tick counter: 112 ms, then 200 ms.
    EXPECT_FALSE(QueryMayStart(0xFFFFFFA0U, 0x00000010U));
    EXPECT_TRUE(QueryMayStart(0xFFFFFFA0U, 0x00000068U));
}

}  // namespace
