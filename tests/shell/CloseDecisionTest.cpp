#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "shell/CloseConfirmation.h"
#include "shell/CloseRules.h"

namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(CloseRules, PressesCloseAtOnceMovesOnlyBeyondTheThreshold) {
    using namespace InputMessage;
    const ScreenPoint at{512, 384};
    const struct {
        std::uint32_t message;
        ScreenPoint recorded, now;
        bool closes;
    } cases[] = {
        {KeyDown, at, at, true},
        {SysKeyDown, at, at, true},
        {LeftButtonDown, at, at, true},
        {RightButtonDown, at, at, true},
        {MiddleButtonDown, at, at, true},
        {KeyUp, at, at, false},
        {LeftButtonUp, at, at, false},
        {LeftButtonDoubleClick, at, at, false},
        {MouseWheel, at, at, false},
        {0x0010, at, at, false},  // WM_CLOSE itself.
        {MouseMove, at, {516, 380}, false},
        {MouseMove, at, {508, 388}, false},
        {MouseMove, at, {517, 384}, true},
        {MouseMove, at, {512, 379}, true},
        {MouseMove, {kMin, 0}, {kMax, 0}, true},  // No overflow at the edges.
        {MouseMove, {0, kMax}, {0, kMin}, true},
        {MouseMove, {kMin, kMax}, {kMin + 4, kMax - 4}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InputClosesSaver(c.message, c.recorded, c.now), c.closes)
            << "message 0x" << std::hex << c.message << std::dec << " to " << c.now.x << ", "
            << c.now.y;
    }
}

TEST(CloseRules, QueriesAreSpaced200MillisecondsAcrossTheTickWrap) {
    EXPECT_EQ(TicksSince(0xFFFFFF9CU, 0x00000064U), 200U);
    EXPECT_EQ(TicksSince(0x00000010U, 0x0000000FU), 0xFFFFFFFFU);
    const std::uint32_t cases[][3] = {
        // last query, now, may start
        {kNoQueryYet, 0, 1}, {kNoQueryYet, 5, 1},           {1000, 1199, 0},
        {1000, 1200, 1},     {0xFFFFFFA0U, 0x00000010U, 0}, {0xFFFFFFA0U, 0x00000068U, 1},
    };
    for (const auto& [last, now, mayStart] : cases) {
        EXPECT_EQ(QueryMayStart(last, now), mayStart != 0) << last << " -> " << now;
    }
}

}  // namespace
