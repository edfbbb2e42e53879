#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <string>

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

// Stands in for the platform: a settable tick count, scripted verifier answers, and a record of
// what was asked of it.
struct FakeQuery {
    std::uint32_t now = 0;
    std::uint32_t queryDuration = 0;  // Ticks that pass while the verifier asks.
    std::deque<bool> answers;
    std::function<void()> duringQuery;
    std::string calls;

    std::uint32_t TickCount() { return now; }
    bool AskVerifier() {
        calls += "ask ";
        if (duringQuery) {
            duringQuery();
        }
        now += queryDuration;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void HideCursor() { calls += "hide "; }
};

class CloseConfirmation : public ::testing::Test {
  protected:
    void SetUp() override {
        CloseAccepted = CheckingPassword = 0;
        LastCheckTick = kNoQueryYet;
    }
    void TearDown() override { SetUp(); }
    FakeQuery query;
};

// A refusal hides the cursor and spaces the next query from the end of this one (the answer
// comes as the tick counter wraps); too soon is refused without asking; a yes closes.
TEST_F(CloseConfirmation, RefusalSpacingFromTheQuerysEndAndAcceptance) {
    query.now = 0xFFFFF000U;
    query.queryDuration = 0x1000;
    query.answers = {false, true};
    EXPECT_EQ(ConfirmCloseSteps(true, query), 0);
    EXPECT_EQ(query.calls, "ask hide ");
    EXPECT_EQ(LastCheckTick, 0U);
    EXPECT_EQ(CloseAccepted + CheckingPassword, 0);
    query.now = 199;
    EXPECT_EQ(ConfirmCloseSteps(true, query), 0);
    EXPECT_EQ(query.calls, "ask hide ");
    EXPECT_EQ(LastCheckTick, 0U);
    query.now = 200;
    EXPECT_NE(ConfirmCloseSteps(true, query), 0);
    EXPECT_EQ(query.calls, "ask hide ask ");
    EXPECT_EQ(CloseAccepted, 1);
    // Without a verifier the first request closes.
    SetUp();
    EXPECT_NE(ConfirmCloseSteps(false, query), 0);
    EXPECT_EQ(query.calls, "ask hide ask ");
}

TEST_F(CloseConfirmation, CloseDuringTheQueryIsRefusedWithoutSecondQuery) {
    query.answers = {true};
    int nestedResult = -1;
    query.duringQuery = [&] { nestedResult = ConfirmCloseSteps(true, query); };
    EXPECT_NE(ConfirmCloseSteps(true, query), 0);
    EXPECT_EQ(nestedResult, 0);
    EXPECT_EQ(query.calls, "ask ");
    EXPECT_EQ(CheckingPassword, 0);
}

}  // namespace
