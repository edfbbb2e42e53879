#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "shell/CloseConfirmation.h"
#include "shell/CloseRules.h"

namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(CloseRules, PressesCloseAtOnceMovesOnlyBeyondTheThreshold) {
    const ScreenPoint at{512, 384};
    const struct {
        std::uint32_t message;
        ScreenPoint recorded;
        ScreenPoint now;
        bool closes;
    } cases[] = {
        {InputMessage::KeyDown, at, at, true},
        {InputMessage::SysKeyDown, at, at, true},
        {InputMessage::LeftButtonDown, at, at, true},
        {InputMessage::RightButtonDown, at, at, true},
        {InputMessage::MiddleButtonDown, at, at, true},
        {InputMessage::KeyUp, at, at, false},
        {InputMessage::LeftButtonUp, at, at, false},
        {InputMessage::LeftButtonDoubleClick, at, at, false},
        {InputMessage::MouseWheel, at, at, false},
        {0x0010, at, at, false},  // WM_CLOSE itself.
        {InputMessage::MouseMove, at, at, false},
        {InputMessage::MouseMove, at, {516, 380}, false},
        {InputMessage::MouseMove, at, {508, 388}, false},
        {InputMessage::MouseMove, at, {517, 384}, true},
        {InputMessage::MouseMove, at, {512, 379}, true},
        {InputMessage::MouseMove, at, {515, 389}, true},
        {InputMessage::MouseMove, {kMin, 0}, {kMax, 0}, true},  // No overflow at the edges.
        {InputMessage::MouseMove, {0, kMax}, {0, kMin}, true},
        {InputMessage::MouseMove, {kMin, kMax}, {kMin + 4, kMax - 4}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InputClosesSaver(c.message, c.recorded, c.now), c.closes)
            << "message 0x" << std::hex << c.message << std::dec << " from " << c.recorded.x << ", "
            << c.recorded.y << " to " << c.now.x << ", " << c.now.y;
    }
}

TEST(CloseRules, QueriesAreSpaced200MillisecondsAcrossTheTickWrap) {
    EXPECT_EQ(TicksSince(0xFFFFFF9CU, 0x00000064U), 200U);
    EXPECT_EQ(TicksSince(0x00000010U, 0x0000000FU), 0xFFFFFFFFU);
    const struct {
        std::uint32_t last;
        std::uint32_t now;
        bool mayStart;
    } cases[] = {
        {kNoQueryYet, 0, true},
        {kNoQueryYet, 5, true},
        {1000, 1000, false},
        {1000, 1199, false},
        {1000, 1200, true},
        {0xFFFFFFA0U, 0x00000010U, false},
        {0xFFFFFFA0U, 0x00000068U, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QueryMayStart(c.last, c.now), c.mayStart) << c.last << " -> " << c.now;
    }
}

// Stands in for the platform: a settable tick count, scripted verifier answers, and a record of
// what was asked of it.
struct FakeQuery {
    std::uint32_t now = 0;
    std::deque<bool> answers;
    std::uint32_t queryDuration = 0;  // Ticks that pass while the verifier asks.
    std::function<void()> duringQuery;
    std::vector<std::string> calls;

    std::uint32_t TickCount() { return now; }
    bool AskVerifier() {
        calls.push_back("ask");
        if (duringQuery) {
            duringQuery();
        }
        now += queryDuration;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void HideCursor() { calls.push_back("hide cursor"); }
};

class CloseConfirmation : public ::testing::Test {
  protected:
    void SetUp() override {
        CloseAccepted = 0;
        CheckingPassword = 0;
        LastCheckTick = kNoQueryYet;
    }
    void TearDown() override { SetUp(); }
    FakeQuery query;
};

TEST_F(CloseConfirmation, RefusalSpacingFromTheQuerysEndAndAcceptance) {
    query.now = 0xFFFFF000U;
    query.queryDuration = 0x1000;  // The answer comes as the tick counter wraps.
    query.answers = {false, true};
    EXPECT_EQ(ConfirmCloseSteps(true, query), 0);
    EXPECT_EQ(query.calls, (std::vector<std::string>{"ask", "hide cursor"}));
    EXPECT_EQ(LastCheckTick, 0U);
    EXPECT_EQ(CloseAccepted, 0);
    EXPECT_EQ(CheckingPassword, 0);

    query.now = 199;  // Too soon: refused without asking.
    EXPECT_EQ(ConfirmCloseSteps(true, query), 0);
    EXPECT_EQ(query.calls.size(), 2U);
    EXPECT_EQ(LastCheckTick, 0U);

    query.now = 200;
    EXPECT_NE(ConfirmCloseSteps(true, query), 0);
    EXPECT_EQ(query.calls, (std::vector<std::string>{"ask", "hide cursor", "ask"}));
    EXPECT_EQ(CloseAccepted, 1);
}

TEST_F(CloseConfirmation, CloseDuringTheQueryIsRefusedWithoutSecondQuery) {
    query.answers = {true};
    int nestedResult = -1;
    query.duringQuery = [&] { nestedResult = ConfirmCloseSteps(true, query); };
    EXPECT_NE(ConfirmCloseSteps(true, query), 0);
    EXPECT_EQ(nestedResult, 0);
    EXPECT_EQ(query.calls, (std::vector<std::string>{"ask"}));
    EXPECT_EQ(CheckingPassword, 0);
}

}  // namespace
