#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "WindowTestSupport.h"

namespace {

using standins::Step;

class PasswordTest : public SaverWindowTest {
  protected:
    // Runs the full-screen saver with the script and returns its result.
    int RunFullScreen(std::vector<Step> steps) {
        standins::OnReleaseScenePoints = [this] {
            verifierLoadedAtDestruction_ = VerifierInProcess();
        };
        standins::SetScript(std::move(steps));
        return RunSaverWindow(nullptr);
    }

    static Step PostKey() {
        return [](HWND window) {
            PostMessageA(window, WM_KEYDOWN, 'A', 0);
            return true;
        };
    }

    // Waits until the stand-in has logged `count` lines.
    Step WaitForLogLines(std::size_t count) {
        return [this, count](HWND) { return StandInLog().size() >= count; };
    }

    static Step WaitMs(DWORD milliseconds) {
        auto start = std::make_shared<std::optional<DWORD>>();
        return [start, milliseconds](HWND) {
            if (!*start) {
                *start = GetTickCount();
            }
            return GetTickCount() - **start >= milliseconds;
        };
    }

    bool verifierLoadedAtDestruction_ = false;
};

TEST_F(PasswordTest, OnNtCloseIsImmediateAndNothingIsLoaded) {
    SetPasswordFlag(1);
    bool runningDuringRun = true;
    EXPECT_EQ(RunFullScreen({[&](HWND window) {
                  runningDuringRun = SaverRunningState();
                  EXPECT_EQ(VerifierEntry, nullptr);
                  PostMessageA(window, WM_KEYDOWN, 'A', 0);
                  return true;
              }}),
              0);
    EXPECT_FALSE(runningDuringRun);
    EXPECT_TRUE(StandInLog().empty());
    EXPECT_FALSE(VerifierInProcess());
    EXPECT_EQ(CloseAccepted, 0);  // The close never went through the confirmation.
}

TEST_F(PasswordTest, OnWin98WithPasswordOffFirstRequestCloses) {
    OnWin9x = TRUE;
    for (const std::optional<DWORD> flag : {std::optional<DWORD>{}, std::optional<DWORD>{0}}) {
        SetPasswordFlag(flag);
        CloseAccepted = 0;
        UnregisterClassA(kClassName, GetModuleHandleA(nullptr));
        EXPECT_EQ(RunFullScreen({PostKey()}), 0);
        EXPECT_EQ(CloseAccepted, 1);
        EXPECT_TRUE(StandInLog().empty());
        EXPECT_FALSE(SaverRunningState());
    }
}

TEST_F(PasswordTest, RefusalSpacingAndAcceptance) {
    OnWin9x = TRUE;
    SetPasswordFlag(1);
    SetEnvironmentVariableA("ZEMLAR_VERIFIER_SCRIPT", "ny");
    DWORD refusedAt = 0;
    bool askedWithinSpacing = false;
    bool checkedWithinSpacing = false;
    const int result = RunFullScreen({
        [](HWND) {
            EXPECT_NE(VerifierEntry, nullptr);
            EXPECT_TRUE(SaverRunningState());
            return true;
        },
        PostKey(),
        WaitForLogLines(2),  // Loaded, then asked once.
        [&](HWND window) {
            // Refused: the saver runs on with the cursor hidden again.
            refusedAt = LastCheckTick;
            EXPECT_TRUE(IsWindow(window));
            EXPECT_EQ(CloseAccepted, 0);
            EXPECT_EQ(GetCursor(), nullptr);
            // At once again: too soon for another query.
            EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
            if (GetTickCount() - refusedAt < kQuerySpacingMs) {
                checkedWithinSpacing = true;
                askedWithinSpacing = StandInLog().size() != 2;
            }
            return true;
        },
        WaitMs(kQuerySpacingMs + 50),
        PostKey(),
    });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(checkedWithinSpacing) << "the machine took 200 ms for one message";
    EXPECT_FALSE(askedWithinSpacing);
    EXPECT_EQ(StandInLog(), (std::vector<std::string>{"password load", "verify n", "verify y",
                                                      "password unload"}));
    // Unloaded after the loop, not while the window was destroyed.
    EXPECT_TRUE(verifierLoadedAtDestruction_);
    EXPECT_FALSE(VerifierInProcess());
    EXPECT_EQ(VerifierEntry, nullptr);
    EXPECT_FALSE(SaverRunningState());
    EXPECT_EQ(standins::EventsStartingWith("timed out").size(), 0U);
}

TEST_F(PasswordTest, CloseDuringTheQueryIsRefusedWithoutSecondQuery) {
    OnWin9x = TRUE;
    SetPasswordFlag(1);
    SetEnvironmentVariableA("ZEMLAR_VERIFIER_SCRIPT", "cy");
    EXPECT_EQ(
        RunFullScreen({PostKey(), WaitForLogLines(2), WaitMs(kQuerySpacingMs + 50), PostKey()}), 0);
    EXPECT_EQ(StandInLog(), (std::vector<std::string>{"password load", "verify c nested-close=0",
                                                      "verify y", "password unload"}));
}

TEST_F(PasswordTest, InputDuringTheQueryNeitherClosesNorHidesTheCursor) {
    OnWin9x = TRUE;
    SetPasswordFlag(1);
    SetEnvironmentVariableA("ZEMLAR_VERIFIER_SCRIPT", "ky");
    EXPECT_EQ(
        RunFullScreen({PostKey(), WaitForLogLines(3), WaitMs(kQuerySpacingMs + 50), PostKey()}), 0);
    EXPECT_EQ(StandInLog(),
              (std::vector<std::string>{"password load", "verify k",
                                        "input-during-query close-queued=0 cursor-shown=1",
                                        "verify y", "password unload"}));
}

TEST_F(PasswordTest, RefusedCloseRecordsTheCursorAgain) {
    OnWin9x = TRUE;
    SetPasswordFlag(1);
    SetEnvironmentVariableA("ZEMLAR_VERIFIER_SCRIPT", "nnnnnnnnnn");
    POINT start{};
    GetCursorPos(&start);
    EXPECT_EQ(
        RunFullScreen({[&](HWND window) {
            // The user moved the mouse, was asked, and gave a wrong password.
            const POINT moved{start.x + 60, start.y + 10};
            SetCursorPos(moved.x, moved.y);
            EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
            // Small moves around the new place keep the saver open, the old place is far.
            for (const auto& [point, closes] : {std::pair{POINT{moved.x + 3, moved.y - 4}, false},
                                                std::pair{POINT{start.x, start.y}, true}}) {
                POINT client = point;
                ScreenToClient(window, &client);
                SendMessageA(window, WM_MOUSEMOVE, 0,
                             MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y)));
                EXPECT_EQ(CloseQueued(window), closes) << point.x << ", " << point.y;
            }
            DestroyWindow(window);
            return true;
        }}),
        0);
    SetCursorPos(start.x, start.y);
}

}  // namespace
