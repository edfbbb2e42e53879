#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "shell/CloseConfirmation.h"

namespace {

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
};

TEST_F(CloseConfirmation, WithoutVerifierTheFirstRequestCloses) {
    FakeQuery query;
    EXPECT_NE(ConfirmCloseSteps(false, query), 0);
    EXPECT_EQ(CloseAccepted, 1);
    EXPECT_TRUE(query.calls.empty());
    EXPECT_EQ(LastCheckTick, kNoQueryYet);
}

TEST_F(CloseConfirmation, RefusalSpacingAndAcceptance) {
    FakeQuery query;
    query.now = 5000;
    query.queryDuration = 3000;  // The user takes three seconds to answer.
    query.answers = {false, true};

    // The first request always asks, however recent the start.
    EXPECT_EQ(ConfirmCloseSteps(true, query), 0);
    EXPECT_EQ(query.calls, (std::vector<std::string>{"ask", "hide cursor"}));
    EXPECT_EQ(LastCheckTick, 8000U);  // Taken when the query returned.
    EXPECT_EQ(CloseAccepted, 0);
    EXPECT_EQ(CheckingPassword, 0);

    // Within 200 ms of the end of that query: refused without asking.
    query.now = 8199;
    EXPECT_EQ(ConfirmCloseSteps(true, query), 0);
    EXPECT_EQ(query.calls.size(), 2U);
    EXPECT_EQ(LastCheckTick, 8000U);

    // Later: asks again, and the right password closes.
    query.now = 8200;
    EXPECT_NE(ConfirmCloseSteps(true, query), 0);
    EXPECT_EQ(query.calls, (std::vector<std::string>{"ask", "hide cursor", "ask"}));
    EXPECT_EQ(CloseAccepted, 1);
    EXPECT_EQ(CheckingPassword, 0);
}

TEST_F(CloseConfirmation, CloseDuringTheQueryIsRefusedWithoutSecondQuery) {
    FakeQuery query;
    query.answers = {true};
    int nestedResult = -1;
    std::int32_t checkingInside = 0;
    query.duringQuery = [&] {
        checkingInside = CheckingPassword;
        nestedResult = ConfirmCloseSteps(true, query);
    };
    EXPECT_NE(ConfirmCloseSteps(true, query), 0);
    EXPECT_EQ(checkingInside, 1);
    EXPECT_EQ(nestedResult, 0);
    EXPECT_EQ(query.calls, (std::vector<std::string>{"ask"}));
    EXPECT_EQ(CheckingPassword, 0);
}

TEST_F(CloseConfirmation, SpacingHoldsAcrossTheTickCounterWrap) {
    FakeQuery query;
    query.now = 0xFFFFFFF0U;
    query.answers = {false, false};
    EXPECT_EQ(ConfirmCloseSteps(true, query), 0);
    EXPECT_EQ(LastCheckTick, 0xFFFFFFF0U);

    query.now = 0x00000050U;  // 96 ms later, after the wrap: still too soon.
    EXPECT_EQ(ConfirmCloseSteps(true, query), 0);
    EXPECT_EQ(query.calls.size(), 2U);  // One query and its cursor hiding.

    query.now = 0x000000B8U;  // 200 ms after the query.
    EXPECT_EQ(ConfirmCloseSteps(true, query), 0);
    EXPECT_EQ(query.calls.size(), 4U);
}

}  // namespace
