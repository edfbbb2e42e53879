// The saver window, its procedures and its password steps in this process, on real windows.
// Stand-ins take the place of the scene, the display and the sprites: they record what the
// window asks of them, and the idle frame runs the test's script, one step per idle turn.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "present/Display.h"
#include "present/Sprite.h"
#include "scene/SceneWindow.h"
#include "shell/CloseConfirmation.h"
#include "shell/Password.h"
#include "shell/ProcessGlobals.h"
#include "shell/SaverFlags.h"
#include "shell/SaverWindow.h"

namespace {

// Returns true when done; false to be called again at the next idle turn.
using Step = std::function<bool(HWND window)>;

std::vector<std::string> Events;
std::vector<Step> Script;
std::size_t NextStep;
DWORD ScriptStart;
int Frames;
bool VerifierLoadedAtDestruction;

bool VerifierInProcess() {
    return GetModuleHandleA("PASSWORD.CPL") != nullptr;
}

}  // namespace

HWND sceneWindow;

bool SetUpScene(HWND window) {
    sceneWindow = window;
    Events.emplace_back("set up scene");
    return true;
}

void RenderFrame() {
    ++Frames;
}

// A script that outlasts its deadline ends by destroying the window, and says so.
void RenderIdleFrame() {
    if (sceneWindow == nullptr) {
        return;
    }
    if (GetTickCount() - ScriptStart > 20000) {
        Events.emplace_back("timed out");
        Script.clear();
        DestroyWindow(sceneWindow);
    } else if (NextStep < Script.size() && Script[NextStep](sceneWindow)) {
        ++NextStep;
    }
}

void ReleaseScenePoints() {
    Events.emplace_back("release scene points");
    VerifierLoadedAtDestruction = VerifierInProcess();
    sceneWindow = nullptr;
}

// The globals live in static storage: every field starts zeroed.
Display::Display() {}
Display::~Display() = default;
void Display::Clear() {}
void Display::UpdateRects() {}
void Display::Release() {
    Events.emplace_back("release display");
}

Sprite::Sprite(Display* owner) : display(owner) {}
Sprite::~Sprite() = default;
void Sprite::Release() {
    const Sprite* order[] = {&ballSprites[0], &ballSprites[1], &logoSprite, &infoSprite};
    Events.push_back(
        "release sprite " +
        std::to_string(std::find(std::begin(order), std::end(order), this) - std::begin(order)));
}

Display display;
Sprite ballSprites[2];
Sprite logoSprite;
Sprite infoSprite;

namespace {

const std::vector<std::string> kRunEvents = {
    "set up scene",     "release sprite 0", "release sprite 1",    "release sprite 2",
    "release sprite 3", "release display",  "release scene points"};

// The system commands that reach the platform's default handling; it acts on SC_CLOSE only.
std::vector<WPARAM> DefaultSystemCommands;

LRESULT CALLBACK RecordSystemCommands(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_SYSCOMMAND) {
        DefaultSystemCommands.push_back(wParam);
        return wParam == SC_CLOSE ? 0 : 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

Step PostKey() {
    return [](HWND window) { return PostMessageA(window, WM_KEYDOWN, 'A', 0) != FALSE; };
}

Step WaitMs(DWORD milliseconds) {
    auto start = std::make_shared<std::optional<DWORD>>();
    return [start, milliseconds](HWND) {
        *start = start->value_or(GetTickCount());
        return GetTickCount() - **start >= milliseconds;
    };
}

LPARAM ClientPosition(HWND window, POINT screen) {
    ScreenToClient(window, &screen);
    return MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));
}

bool CloseQueued(HWND window) {
    MSG message;
    return PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != 0;
}

// A top-level window of the test: the preview's parent, or another saver's window.
class TestWindow {
  public:
    TestWindow(const char* className, const char* title) : className_(className) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = className;
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, className, title, WS_POPUP | WS_VISIBLE, 30, 30, 220, 180,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~TestWindow() {
        DestroyWindow(window_);
        UnregisterClassA(className_, GetModuleHandleA(nullptr));
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND window_;
    const char* className_;
};

// Every process-wide flag back to its start value, the stand-in DLLs' folder on the DLL search
// path, a fresh stand-in log, no password flag in the registry, the system commands recorded.
class SaverWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SaverInstance = GetModuleHandleA(nullptr);
        OnWin9x = FALSE;
        ResetRun();
        hook_ = SetWindowsHookExA(WH_CBT, RecordSystemCommands, nullptr, GetCurrentThreadId());

        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, sizeof path);
        const std::string bin(path);
        SetDllDirectoryA((bin.substr(0, bin.find_last_of('\\')) + "\\win98").c_str());
        GetTempPathA(sizeof path, path);
        logPath_ =
            std::string(path) + "zemlar-standin-" + std::to_string(GetCurrentProcessId()) + ".log";
        DeleteFileA(logPath_.c_str());
        SetEnvironmentVariableA("ZEMLAR_STANDIN_LOG", logPath_.c_str());
        SetPasswordFlag(std::nullopt);
        UINT previous = 0;
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 0, &previous, 0);
    }

    void TearDown() override {
        UnhookWindowsHookEx(hook_);
        SetPasswordFlag(std::nullopt);
        DeleteFileA(logPath_.c_str());
        SetDllDirectoryA(nullptr);
        OnWin9x = FALSE;
        IsPreview = 0;
    }

    // The close state and the records of one run.
    static void ResetRun() {
        IsPreview = 0;
        CloseAccepted = 0;
        CheckingPassword = 0;
        LastCheckTick = kNoQueryYet;
        Events.clear();
        Frames = 0;
        DefaultSystemCommands.clear();
        UnregisterClassA("WindowsSwreenSaverClass", GetModuleHandleA(nullptr));
    }

    // Win98 with the registry's password flag (a number, or no value) and the verifier's script.
    static void OnWin98(std::optional<DWORD> flag, const char* script = "") {
        OnWin9x = TRUE;
        SetPasswordFlag(flag);
        SetEnvironmentVariableA("ZEMLAR_VERIFIER_SCRIPT", script);
    }

    static void SetPasswordFlag(std::optional<DWORD> flag) {
        if (flag) {
            RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword",
                            REG_DWORD, &*flag, sizeof(DWORD));
        } else {
            RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop",
                               "ScreenSaveUsePassword");
        }
    }

    static bool SaverRunningState() {
        BOOL running = FALSE;
        SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
        return running != FALSE;
    }

    static int Run(std::vector<Step> steps, HWND parent = nullptr) {
        Script = std::move(steps);
        NextStep = 0;
        ScriptStart = GetTickCount();
        return RunSaverWindow(parent);
    }

    std::vector<std::string> StandInLog() const {
        std::vector<std::string> lines;
        std::ifstream in(logPath_);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    HHOOK hook_ = nullptr;
    std::string logPath_;
};

TEST_F(SaverWindowTest, FullScreenKeepsItsTitleAndClosesOnPressesAndFarMoves) {
    POINT cursor{};
    GetCursorPos(&cursor);  // Where the window records it at creation.
    const struct {
        UINT message;
        int dx;
        int dy;
        bool closes;
    } cases[] = {
        {WM_KEYDOWN, 0, 0, true},     {WM_SYSKEYDOWN, 0, 0, true},  {WM_LBUTTONDOWN, 0, 0, true},
        {WM_RBUTTONDOWN, 0, 0, true}, {WM_MBUTTONDOWN, 0, 0, true}, {WM_KEYUP, 0, 0, false},
        {WM_LBUTTONUP, 0, 0, false},  {WM_MOUSEMOVE, 0, 0, false},  {WM_MOUSEMOVE, 4, 4, false},
        {WM_MOUSEMOVE, -4, 3, false}, {WM_MOUSEMOVE, 5, 0, true},   {WM_MOUSEMOVE, 0, -5, true},
    };
    LRESULT destroyResult = 0;
    EXPECT_EQ(Run({[&](HWND window) {
                  EXPECT_EQ(window, SaverWindow);
                  SetWindowTextA(window, "Another title");
                  char title[64] = {};
                  GetWindowTextA(window, title, sizeof title);
                  EXPECT_STREQ(title, "Screen Saver");
                  for (const auto& c : cases) {
                      const POINT at{cursor.x + c.dx, cursor.y + c.dy};
                      SendMessageA(window, c.message, 0, ClientPosition(window, at));
                      EXPECT_EQ(CloseQueued(window), c.closes)
                          << "message " << c.message << " moved by " << c.dx << ", " << c.dy;
                  }
                  // Only the three unmasked switching commands are swallowed.
                  for (const WPARAM command :
                       std::vector<WPARAM>{SC_SCREENSAVE, SC_NEXTWINDOW, SC_PREVWINDOW,
                                           SC_SCREENSAVE | 1, SC_NEXTWINDOW | 2}) {
                      SendMessageA(window, WM_SYSCOMMAND, command, 0);
                  }
                  // Ends the loop by its quit message alone; the window stays.
                  destroyResult = SendMessageA(window, WM_DESTROY, 0, 0);
                  return true;
              }}),
              0);
    EXPECT_EQ(destroyResult, 1);
    EXPECT_EQ(Events, kRunEvents);
    EXPECT_EQ(DefaultSystemCommands, (std::vector<WPARAM>{SC_SCREENSAVE | 1, SC_NEXTWINDOW | 2}));
    ASSERT_TRUE(IsWindow(SaverWindow));
    DestroyWindow(SaverWindow);
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

TEST_F(SaverWindowTest, SecondFullScreenStartBringsTheFirstForwardAndLoadsNothing) {
    OnWin98(1);
    TestWindow first("WindowsSwreenSaverClass", "Screen Saver");
    SetForegroundWindow(GetDesktopWindow());
    EXPECT_EQ(RunSaverWindow(nullptr), 0);
    EXPECT_TRUE(Events.empty());
    EXPECT_EQ(GetForegroundWindow(), first.window_);
    EXPECT_FALSE(VerifierInProcess());
    EXPECT_TRUE(StandInLog().empty());
    EXPECT_FALSE(SaverRunningState());
}

TEST_F(SaverWindowTest, PreviewDrawsOnItsTimerAndIgnoresInput) {
    OnWin98(1);  // Even where a password could apply, the preview never asks for one.
    TestWindow parent("ZemlarTestPreviewParent", "Display settings");
    const HCURSOR arrow = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    EXPECT_EQ(Run({[](HWND) { return Frames >= 3; },
                   [&](HWND window) {
                       char title[64] = {};
                       GetWindowTextA(window, title, sizeof title);
                       EXPECT_STREQ(title, "Preview");
                       EXPECT_EQ(GetParent(window), parent.window_);
                       SetCursor(arrow);
                       for (const UINT message :
                            std::vector<UINT>{WM_KEYDOWN, WM_SYSKEYDOWN, WM_MOUSEMOVE,
                                              WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
                           SendMessageA(window, message, 0, MAKELPARAM(100, 100));
                           EXPECT_FALSE(CloseQueued(window)) << "message " << message;
                       }
                       SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                                    HTCLIENT);
                       EXPECT_EQ(GetCursor(), arrow);
                       SendMessageA(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
                       // A close from outside destroys it without any password step.
                       SendMessageA(window, WM_CLOSE, 0, 0);
                       return true;
                   }},
                  parent.window_),
              0);
    EXPECT_EQ(DefaultSystemCommands, (std::vector<WPARAM>{SC_SCREENSAVE}));
    EXPECT_EQ(Events, kRunEvents);
    EXPECT_FALSE(VerifierInProcess());
    EXPECT_TRUE(StandInLog().empty());
}

TEST_F(SaverWindowTest, WithoutPasswordTheFirstRequestCloses) {
    const struct {
        BOOL win9x;
        std::optional<DWORD> flag;
        std::int32_t closeAccepted;  // NT closes without the confirmation.
    } cases[] = {{FALSE, 1, 0}, {TRUE, std::nullopt, 1}, {TRUE, 0, 1}};
    for (const auto& c : cases) {
        OnWin98(c.flag);
        OnWin9x = c.win9x;
        ResetRun();
        bool runningDuringRun = true;
        EXPECT_EQ(Run({[&](HWND window) {
                      runningDuringRun = SaverRunningState();
                      return PostMessageA(window, WM_KEYDOWN, 'A', 0) != FALSE;
                  }}),
                  0);
        EXPECT_EQ(CloseAccepted, c.closeAccepted);
        EXPECT_FALSE(runningDuringRun);
        EXPECT_TRUE(StandInLog().empty());
        EXPECT_FALSE(VerifierInProcess());
    }
}

// With the password on: the first request asks; a refusal (a wrong password, a close or input
// arriving during the query) keeps the saver running with the cursor hidden; a request within
// 200 ms is refused without asking; a later one asks again, and yes closes. The verifier stays
// loaded until the loop has ended.
TEST_F(SaverWindowTest, PasswordRefusalSpacingAndAcceptance) {
    const struct {
        const char* script;
        std::vector<std::string> log;
    } cases[] = {
        {"ny", {"password load", "verify n", "verify y", "password unload"}},
        {"cy", {"password load", "verify c nested-close=0", "verify y", "password unload"}},
        {"ky",
         {"password load", "verify k", "input-during-query close-queued=0 cursor-shown=1",
          "verify y", "password unload"}},
    };
    for (const auto& c : cases) {
        OnWin98(1, c.script);
        ResetRun();
        DeleteFileA(logPath_.c_str());
        const std::size_t refusedLines = c.log.size() - 2;
        bool checkedWithinSpacing = false;
        EXPECT_EQ(Run({[](HWND) { return VerifierEntry != nullptr && SaverRunningState(); },
                       PostKey(), [&](HWND) { return StandInLog().size() >= refusedLines; },
                       [&](HWND window) {
                           EXPECT_EQ(CloseAccepted, 0);
                           EXPECT_EQ(GetCursor(), nullptr);
                           EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
                           checkedWithinSpacing = GetTickCount() - LastCheckTick < kQuerySpacingMs;
                           return true;
                       },
                       WaitMs(kQuerySpacingMs + 50), PostKey()}),
                  0);
        EXPECT_TRUE(checkedWithinSpacing) << "the machine took 200 ms for one message";
        EXPECT_EQ(StandInLog(), c.log) << c.script;
        EXPECT_TRUE(VerifierLoadedAtDestruction);
        EXPECT_FALSE(VerifierInProcess());
        EXPECT_FALSE(SaverRunningState());
        EXPECT_EQ(Events, kRunEvents);
    }
}

TEST_F(SaverWindowTest, RefusedCloseRecordsTheCursorAgain) {
    OnWin98(1, "nnnnnnnnnn");
    POINT start{};
    GetCursorPos(&start);
    const POINT moved{start.x + 60, start.y + 10};
    EXPECT_EQ(
        Run({[&](HWND window) {
            // The user moved the mouse, was asked, and gave a wrong password.
            SetCursorPos(moved.x, moved.y);
            EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
            // Small moves around the new place keep the saver open; the old place is far.
            for (const auto& [point, closes] :
                 {std::pair{POINT{moved.x + 3, moved.y - 4}, false}, std::pair{start, true}}) {
                SendMessageA(window, WM_MOUSEMOVE, 0, ClientPosition(window, point));
                EXPECT_EQ(CloseQueued(window), closes) << point.x << ", " << point.y;
            }
            DestroyWindow(window);
            return true;
        }}),
        0);
    SetCursorPos(start.x, start.y);
}

}  // namespace
