// The saver window, its procedures and its password steps in this process, on real windows.
// Stand-ins take the place of the scene, the display and the sprites: they record what the
// window asks of them, and each idle frame runs the test's next step.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <functional>
#include <optional>
#include <string>
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

// A step returns true when done, false to be called again at the next idle turn.
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
    return true;
}
void RenderFrame() {
    ++Frames;
}
// A script that outlasts its deadline ends by destroying the window, and says so.
void RenderIdleFrame() {
    if (sceneWindow != nullptr && GetTickCount() - ScriptStart > 20000) {
        Events.emplace_back("timed out");
        DestroyWindow(sceneWindow);
    } else if (sceneWindow != nullptr && NextStep < Script.size() &&
               Script[NextStep](sceneWindow)) {
        ++NextStep;
    }
}
void ReleaseScenePoints() {
    Events.emplace_back("points");
    VerifierLoadedAtDestruction = VerifierInProcess();
    sceneWindow = nullptr;
}
Display::Display() {}
Display::~Display() = default;
void Display::Clear() {}
void Display::UpdateRects() {}
void Display::Release() {
    Events.emplace_back("display");
}
Display display;
Sprite ballSprites[2];
Sprite logoSprite;
Sprite infoSprite;
Sprite::Sprite(Display* owner) : display(owner) {}
Sprite::~Sprite() = default;
void Sprite::Release() {
    Events.emplace_back(this == &logoSprite ? "logo" : this == &infoSprite ? "panel" : "ball");
    Events.back() += this == &ballSprites[1] ? " 1" : this == &ballSprites[0] ? " 0" : "";
}

namespace {

// Sprites before the display that owns their DirectDraw object, the points last.
const std::vector<std::string> kReleases = {"ball 0", "ball 1",  "logo",
                                            "panel",  "display", "points"};

Step PostKey() {
    return [](HWND window) { return PostMessageA(window, WM_KEYDOWN, 'A', 0) != FALSE; };
}

// A mouse message's lParam for a screen position.
LPARAM ClientPosition(HWND window, POINT screen) {
    ScreenToClient(window, &screen);
    return MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));
}

bool CloseQueued(HWND window) {
    MSG message;
    return PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != 0;
}

// Every process-wide flag at its start value, the stand-in DLLs' folder on the DLL search path,
// a fresh stand-in log, no password flag.
class SaverWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SaverInstance = GetModuleHandleA(nullptr);
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, sizeof path);
        const std::string bin(path);
        SetDllDirectoryA((bin.substr(0, bin.find_last_of('\\')) + "\\win98").c_str());
        GetTempPathA(sizeof path, path);
        log_ = std::string(path) + "zemlar-standin-" + std::to_string(GetCurrentProcessId());
        SetEnvironmentVariableA("ZEMLAR_STANDIN_LOG", log_.c_str());
        Start(FALSE, std::nullopt);
    }
    void TearDown() override {
        Start(FALSE, std::nullopt);
        SetDllDirectoryA(nullptr);
    }

    // A fresh run on Windows 95/98 or NT, with the registry's password flag (a number, or no
    // value) and the verifier's script.
    void Start(BOOL win9x, std::optional<DWORD> flag, const char* script = "") {
        OnWin9x = win9x;
        IsPreview = CloseAccepted = CheckingPassword = 0;
        LastCheckTick = kNoQueryYet;
        Events.clear();
        Frames = 0;
        UnregisterClassA("WindowsSwreenSaverClass", GetModuleHandleA(nullptr));
        DeleteFileA(log_.c_str());
        SetEnvironmentVariableA("ZEMLAR_VERIFIER_SCRIPT", script);
        const char* key = "Control Panel\\Desktop";
        if (flag) {
            RegSetKeyValueA(HKEY_CURRENT_USER, key, "ScreenSaveUsePassword", REG_DWORD, &*flag, 4);
        } else {
            RegDeleteKeyValueA(HKEY_CURRENT_USER, key, "ScreenSaveUsePassword");
        }
    }

    static int Run(std::vector<Step> steps, HWND parent = nullptr) {
        Script = std::move(steps);
        NextStep = 0;
        ScriptStart = GetTickCount();
        return RunSaverWindow(parent);
    }

    std::string StandInLog() const {
        std::ostringstream text;
        text << std::ifstream(log_).rdbuf();
        return text.str();
    }

    std::string log_;
};

TEST_F(SaverWindowTest, KeepsItsTitleClosesOnPressesAndFarMovesAndReleasesInOrder) {
    POINT cursor{};
    GetCursorPos(&cursor);  // Where the window records it at creation.
    const struct {
        UINT message;
        int dx, dy;
        bool closes;
    } cases[] = {
        {WM_KEYDOWN, 0, 0, true},     {WM_SYSKEYDOWN, 0, 0, true},  {WM_LBUTTONDOWN, 0, 0, true},
        {WM_RBUTTONDOWN, 0, 0, true}, {WM_MBUTTONDOWN, 0, 0, true}, {WM_KEYUP, 0, 0, false},
        {WM_MOUSEMOVE, 4, 4, false},  {WM_MOUSEMOVE, -4, 3, false}, {WM_MOUSEMOVE, 5, 0, true},
        {WM_MOUSEMOVE, 0, -5, true},
    };
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
                  DestroyWindow(window);
                  return true;
              }}),
              0);
    EXPECT_EQ(Events, kReleases);
}

// On NT, and on Windows 98 with the password off, the first request closes; NT skips the
// confirmation altogether.
TEST_F(SaverWindowTest, WithoutPasswordTheFirstRequestCloses) {
    const struct {
        BOOL win9x;
        std::optional<DWORD> flag;
        std::int32_t closeAccepted;
    } cases[] = {{FALSE, 1, 0}, {TRUE, std::nullopt, 1}, {TRUE, 0, 1}};
    for (const auto& c : cases) {
        Start(c.win9x, c.flag);
        EXPECT_EQ(Run({PostKey()}), 0);
        EXPECT_EQ(CloseAccepted, c.closeAccepted);
        EXPECT_EQ(Events, kReleases);
        EXPECT_EQ(StandInLog(), "");
    }
}

// With the password on: a refusal keeps the saver running with the cursor hidden; a request
// within 200 ms of the end of the query is refused without asking; a later one asks again, and yes
// closes. The verifier and the saver-running state stay on until the loop has ended.
TEST_F(SaverWindowTest, PasswordRefusalSpacingAndAcceptance) {
    const auto running = [] {
        BOOL on = FALSE;
        SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &on, 0);
        return on != FALSE;
    };
    const std::string refused = "password load\nverify n\n";
    Start(TRUE, 1, "ny");
    DWORD refusedAt = 0;
    EXPECT_EQ(Run({[&](HWND) { return VerifierEntry != nullptr && running(); }, PostKey(),
                   [&](HWND) { return StandInLog().size() >= refused.size(); },
                   [&](HWND window) {
                       refusedAt = LastCheckTick;
                       EXPECT_EQ(CloseAccepted, 0);
                       EXPECT_EQ(GetCursor(), nullptr);
                       EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);  // Too soon.
                       EXPECT_LT(GetTickCount() - refusedAt, kQuerySpacingMs);
                       return true;
                   },
                   [&](HWND) { return GetTickCount() - refusedAt >= kQuerySpacingMs; }, PostKey()}),
              0);
    EXPECT_EQ(StandInLog(), refused + "verify y\npassword unload\n");
    EXPECT_TRUE(VerifierLoadedAtDestruction);
    EXPECT_FALSE(VerifierInProcess());
    EXPECT_FALSE(running());
    EXPECT_EQ(Events, kReleases);
}

// The preview: a child of the given window, titled "Preview", drawn on its timer and deaf to
// input; a close from outside ends it without a password step, even where one could apply.
TEST_F(SaverWindowTest, PreviewDrawsOnItsTimerAndIgnoresInput) {
    Start(TRUE, 1);
    const HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 30, 30, 220, 180,
                                        nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(Run({[](HWND) { return Frames >= 3; },
                   [&](HWND window) {
                       char title[16] = {};
                       GetWindowTextA(window, title, sizeof title);
                       EXPECT_STREQ(title, "Preview");
                       EXPECT_EQ(GetParent(window), parent);
                       for (const UINT message :
                            std::vector<UINT>{WM_KEYDOWN, WM_MOUSEMOVE, WM_LBUTTONDOWN}) {
                           SendMessageA(window, message, 0, MAKELPARAM(100, 100));
                           EXPECT_FALSE(CloseQueued(window)) << message;
                       }
                       SendMessageA(window, WM_CLOSE, 0, 0);
                       return true;
                   }},
                  parent),
              0);
    EXPECT_EQ(Events, kReleases);
    EXPECT_EQ(StandInLog(), "");
    DestroyWindow(parent);
}

}  // namespace
