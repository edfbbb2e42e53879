#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "WindowTestSupport.h"

namespace {

using standins::Step;

const std::vector<std::string> kReleaseOrder = {"release ballSprites[0]", "release ballSprites[1]",
                                                "release logoSprite",     "release infoSprite",
                                                "release display",        "release scene points"};

Step Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return [=](HWND window) {
        PostMessageA(window, message, wParam, lParam);
        return true;
    };
}

LPARAM ClientPosition(HWND window, POINT screen) {
    ScreenToClient(window, &screen);
    return MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));
}

TEST_F(SaverWindowTest, FullScreenWindowHasItsClassSizeAndFixedTitle) {
    standins::SetScript({[](HWND window) {
        char title[64] = {};
        GetWindowTextA(window, title, sizeof title);
        EXPECT_STREQ(title, "Screen Saver");
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & 0xFFFF0000U, 0x96000000U);
        EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
        RECT rect{};
        GetWindowRect(window, &rect);
        EXPECT_EQ(rect.left, 0);
        EXPECT_EQ(rect.top, 0);
        EXPECT_EQ(rect.right, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_EQ(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
        EXPECT_EQ(GetClassLongA(window, GCL_STYLE), 0x2B);
        EXPECT_EQ(GetClassLongPtrA(window, GCLP_HICON), 0);
        EXPECT_EQ(GetClassLongPtrA(window, GCLP_HCURSOR), 0);
        EXPECT_EQ(reinterpret_cast<HGDIOBJ>(GetClassLongPtrA(window, GCLP_HBRBACKGROUND)),
                  GetStockObject(BLACK_BRUSH));
        EXPECT_EQ(window, SaverWindow);
        EXPECT_EQ(IsPreview, 0);
        DestroyWindow(window);
        return true;
    }});
    EXPECT_EQ(RunSaverWindow(nullptr), 0);
    EXPECT_EQ(standins::EventsStartingWith("SetUpScene").size(), 1U);
    EXPECT_EQ(standins::EventsStartingWith("timed out").size(), 0U);
}

TEST_F(SaverWindowTest, KeyPressClosesAndDestructionReleasesInOrder) {
    standins::SetScript({Post(WM_KEYDOWN, 'A')});
    EXPECT_EQ(RunSaverWindow(nullptr), 0);
    EXPECT_EQ(standins::EventsStartingWith("release"), kReleaseOrder);
    EXPECT_FALSE(IsWindow(SaverWindow));
    EXPECT_EQ(standins::EventsStartingWith("timed out").size(), 0U);
}

TEST_F(SaverWindowTest, DestroyMessageReturnsOneAndPostsQuit) {
    LRESULT destroyResult = 0;
    standins::SetScript({[&](HWND window) {
        destroyResult = SendMessageA(window, WM_DESTROY, 0, 0);
        return true;
    }});
    EXPECT_EQ(RunSaverWindow(nullptr), 0);  // The loop ended on the quit message alone.
    EXPECT_EQ(destroyResult, 1);
    EXPECT_EQ(standins::EventsStartingWith("release"), kReleaseOrder);
    ASSERT_TRUE(IsWindow(SaverWindow));
    DestroyWindow(SaverWindow);
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

TEST_F(SaverWindowTest, PressesAndFarMovesCloseOtherInputDoesNot) {
    POINT cursor{};
    GetCursorPos(&cursor);  // Where the window recorded it at creation.
    struct Case {
        const char* name;
        UINT message;
        int dx;
        int dy;
        bool closes;
    };
    const std::vector<Case> cases = {
        {"key press", WM_KEYDOWN, 0, 0, true},
        {"system key press", WM_SYSKEYDOWN, 0, 0, true},
        {"left button press", WM_LBUTTONDOWN, 0, 0, true},
        {"right button press", WM_RBUTTONDOWN, 0, 0, true},
        {"middle button press", WM_MBUTTONDOWN, 0, 0, true},
        {"key release", WM_KEYUP, 0, 0, false},
        {"left button release", WM_LBUTTONUP, 0, 0, false},
        {"double click", WM_LBUTTONDBLCLK, 0, 0, false},
        {"wheel turn", WM_MOUSEWHEEL, 0, 0, false},
        {"move onto the recorded spot", WM_MOUSEMOVE, 0, 0, false},
        {"move by 4, 4", WM_MOUSEMOVE, 4, 4, false},
        {"move by -4, 3", WM_MOUSEMOVE, -4, 3, false},
        {"move by 5, 0", WM_MOUSEMOVE, 5, 0, true},
        {"move by 0, -5", WM_MOUSEMOVE, 0, -5, true},
        {"move by 40, 40", WM_MOUSEMOVE, 40, 40, true},
    };
    standins::SetScript({[&](HWND window) {
        for (const Case& c : cases) {
            const POINT at{cursor.x + c.dx, cursor.y + c.dy};
            const LPARAM lParam = c.message == WM_MOUSEMOVE ? ClientPosition(window, at) : 0;
            const WPARAM wParam = c.message == WM_MOUSEWHEEL ? MAKEWPARAM(0, WHEEL_DELTA) : 0;
            SendMessageA(window, c.message, wParam, lParam);
            EXPECT_EQ(CloseQueued(window), c.closes) << c.name;
        }
        DestroyWindow(window);
        return true;
    }});
    EXPECT_EQ(RunSaverWindow(nullptr), 0);
}

// Records the system commands that reach the platform's default handling and keeps it from
// acting on any but SC_CLOSE.
std::vector<WPARAM> DefaultSystemCommands;

LRESULT CALLBACK RecordSystemCommands(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_SYSCOMMAND) {
        DefaultSystemCommands.push_back(wParam);
        return wParam == SC_CLOSE ? 0 : 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class SystemCommandHook {
  public:
    SystemCommandHook()
        : hook_(SetWindowsHookExA(WH_CBT, RecordSystemCommands, nullptr, GetCurrentThreadId())) {
        DefaultSystemCommands.clear();
    }
    ~SystemCommandHook() { UnhookWindowsHookEx(hook_); }
    SystemCommandHook(const SystemCommandHook&) = delete;
    SystemCommandHook& operator=(const SystemCommandHook&) = delete;

  private:
    HHOOK hook_;
};

TEST_F(SaverWindowTest, FullScreenSwallowsExactlyTheThreeSwitchingCommands) {
    SystemCommandHook hook;
    standins::SetScript({[](HWND window) {
        for (WPARAM command : {WPARAM{SC_SCREENSAVE}, WPARAM{SC_NEXTWINDOW}, WPARAM{SC_PREVWINDOW},
                               WPARAM{SC_SCREENSAVE | 1}, WPARAM{SC_NEXTWINDOW | 2}}) {
            SendMessageA(window, WM_SYSCOMMAND, command, 0);
        }
        // Not swallowed: ends in WM_CLOSE, which destroys the window at once on this platform.
        SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    }});
    EXPECT_EQ(RunSaverWindow(nullptr), 0);
    EXPECT_EQ(DefaultSystemCommands,
              (std::vector<WPARAM>{SC_SCREENSAVE | 1, SC_NEXTWINDOW | 2, SC_CLOSE}));
    EXPECT_FALSE(IsWindow(SaverWindow));
}

// A window that looks like another run of the saver, in this process.
class OtherSaverWindow {
  public:
    explicit OtherSaverWindow(const char* title) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "WindowsSwreenSaverClass";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, "WindowsSwreenSaverClass", title, WS_POPUP | WS_VISIBLE, 0, 0,
                                  50, 50, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~OtherSaverWindow() {
        DestroyWindow(window_);
        UnregisterClassA("WindowsSwreenSaverClass", GetModuleHandleA(nullptr));
    }
    OtherSaverWindow(const OtherSaverWindow&) = delete;
    OtherSaverWindow& operator=(const OtherSaverWindow&) = delete;
    HWND window() const { return window_; }

  private:
    HWND window_;
};

TEST_F(SaverWindowTest, SecondFullScreenStartBringsTheFirstForwardAndLoadsNothing) {
    OnWin9x = TRUE;
    SetPasswordFlag(1);
    OtherSaverWindow first("Screen Saver");
    ASSERT_NE(first.window(), nullptr);
    SetForegroundWindow(GetDesktopWindow());
    EXPECT_EQ(RunSaverWindow(nullptr), 0);
    EXPECT_TRUE(standins::Events.empty());
    EXPECT_EQ(GetForegroundWindow(), first.window());
    EXPECT_FALSE(VerifierInProcess());
    EXPECT_TRUE(StandInLog().empty());
    EXPECT_FALSE(SaverRunningState());
}

// The parent window the display settings would own.
class PreviewParent {
  public:
    PreviewParent() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ZemlarTestPreviewParent";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, "ZemlarTestPreviewParent", "Display settings",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 30, 220, 180, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~PreviewParent() {
        DestroyWindow(window_);
        UnregisterClassA("ZemlarTestPreviewParent", GetModuleHandleA(nullptr));
    }
    PreviewParent(const PreviewParent&) = delete;
    PreviewParent& operator=(const PreviewParent&) = delete;
    HWND window() const { return window_; }

  private:
    HWND window_;
};

TEST_F(SaverWindowTest, PreviewDrawsOnItsTimerAndIgnoresInput) {
    OnWin9x = TRUE;  // Even where a password could apply, the preview never asks for one.
    SetPasswordFlag(1);
    PreviewParent parent;
    ASSERT_NE(parent.window(), nullptr);
    SystemCommandHook hook;
    const HCURSOR arrow = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    standins::SetScript({
        [&](HWND window) {
            EXPECT_EQ(IsPreview, 1);
            EXPECT_EQ(GetParent(window), parent.window());
            char title[64] = {};
            GetWindowTextA(window, title, sizeof title);
            EXPECT_STREQ(title, "Preview");
            EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & 0xFFFF0000U,
                      0x52000000U);
            RECT parentClient{};
            RECT client{};
            GetClientRect(parent.window(), &parentClient);
            GetClientRect(window, &client);
            EXPECT_EQ(client.right, parentClient.right);
            EXPECT_EQ(client.bottom, parentClient.bottom);
            return true;
        },
        [](HWND) { return standins::FrameCount() >= 3; },  // Frames come from the timer.
        [&](HWND window) {
            SetCursor(arrow);
            for (const UINT message :
                 std::vector<UINT>{WM_KEYDOWN, WM_SYSKEYDOWN, WM_MOUSEMOVE, WM_LBUTTONDOWN,
                                   WM_RBUTTONDOWN, WM_MBUTTONDOWN}) {
                SendMessageA(window, message, 0, MAKELPARAM(100, 100));
                EXPECT_FALSE(CloseQueued(window)) << "message " << message;
            }
            SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), HTCLIENT);
            EXPECT_EQ(GetCursor(), arrow);
            SendMessageA(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
            // A close sent from outside destroys the preview without any password step.
            SendMessageA(window, WM_CLOSE, 0, 0);
            EXPECT_FALSE(IsWindow(window));
            return true;
        },
    });
    EXPECT_EQ(RunSaverWindow(parent.window()), 0);
    EXPECT_EQ(DefaultSystemCommands, (std::vector<WPARAM>{SC_SCREENSAVE}));
    EXPECT_EQ(standins::EventsStartingWith("release"), kReleaseOrder);
    EXPECT_EQ(standins::EventsStartingWith("timed out").size(), 0U);
    EXPECT_FALSE(VerifierInProcess());
    EXPECT_TRUE(StandInLog().empty());
}

TEST_F(SaverWindowTest, PreviewEndsWhenItsParentGoes) {
    auto parent = std::make_unique<PreviewParent>();
    standins::SetScript({
        [](HWND) { return standins::FrameCount() >= 1; },
        [&](HWND) {
            parent.reset();
            return true;
        },
    });
    EXPECT_EQ(RunSaverWindow(parent->window()), 0);
    EXPECT_EQ(standins::EventsStartingWith("release"), kReleaseOrder);
}

}  // namespace
