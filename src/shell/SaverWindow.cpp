#include "shell/SaverWindow.h"

#include "scene/SceneWindow.h"
#include "shell/CloseConfirmation.h"
#include "shell/Password.h"
#include "shell/ProcessGlobals.h"
#include "shell/SaverFlags.h"

HWND SaverWindow;

namespace {

constexpr char kClassName[] = "WindowsSwreenSaverClass";
constexpr char kFullScreenTitle[] = "Screen Saver";
constexpr char kPreviewTitle[] = "Preview";
// The resources hold no icon 100, so the class ends up without an icon.
constexpr WORD kClassIcon = 100;

constexpr UINT kClassStyle = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
constexpr DWORD kPreviewStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
constexpr DWORD kFullScreenStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
static_assert(kClassStyle == 0x2B);
static_assert(kPreviewStyle == 0x52000000);
static_assert(kFullScreenStyle == 0x96000000);

// Polls the queue and draws an idle frame whenever it is empty, until WM_QUIT. A queued message
// is never taken off without being dispatched: the WM_CLOSE posted for input must arrive.
int RunMessageLoop() {
    MSG message{};
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            const BOOL got = GetMessageA(&message, nullptr, 0, 0);
            if (got == 0) {
                return static_cast<int>(message.wParam);
            }
            if (got > 0) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        } else if (CloseAccepted == 0) {
            RenderIdleFrame();
        }
    }
}

}  // namespace

int RunSaverWindow(HWND parent) {
    WNDCLASSA windowClass{};
    windowClass.style = kClassStyle;
    windowClass.lpfnWndProc = SaverWindowProc;
    windowClass.hInstance = SaverInstance;
    windowClass.hIcon = LoadIconA(SaverInstance, MAKEINTRESOURCEA(kClassIcon));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;

    int width = 0;
    int height = 0;
    DWORD extendedStyle = 0;
    DWORD style = 0;
    const char* title = nullptr;
    if (parent != nullptr) {
        RECT client{};
        GetClientRect(parent, &client);
        width = client.right;
        height = client.bottom;
        IsPreview = 1;
        title = kPreviewTitle;
        style = kPreviewStyle;
    } else {
        width = GetSystemMetrics(SM_CXSCREEN);
        height = GetSystemMetrics(SM_CYSCREEN);
        const HWND running = FindWindowA(kClassName, kFullScreenTitle);
        if (running != nullptr && IsWindow(running)) {
            SetForegroundWindow(running);
            return 0;
        }
        LoadPasswordVerifier();
        extendedStyle = WS_EX_TOPMOST;
        title = kFullScreenTitle;
        style = kFullScreenStyle;
    }

    SaverWindow = nullptr;
    if (RegisterClassA(&windowClass) != 0) {
        // WM_CREATE, and with it the scene's set-up, runs inside this call.
        SaverWindow = CreateWindowExA(extendedStyle, kClassName, title, style, 0, 0, width, height,
                                      parent, nullptr, SaverInstance, nullptr);
    }
    if (SaverWindow == nullptr) {
        // The platform must not stay in its screen-saver-running state.
        UnloadPasswordVerifier();
        return kNoSaverWindow;
    }
    const int result = RunMessageLoop();
    UnloadPasswordVerifier();
    return result;
}
