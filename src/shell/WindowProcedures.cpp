#include <windows.h>
#include <imm.h>

#include "present/Display.h"
#include "present/Sprite.h"
#include "scene/Random.h"
#include "scene/SceneWindow.h"
#include "shell/CloseConfirmation.h"
#include "shell/CloseRules.h"
#include "shell/Password.h"
#include "shell/ProcessGlobals.h"
#include "shell/SaverFlags.h"
#include "shell/SaverWindow.h"

static_assert(InputMessage::KeyDown == WM_KEYDOWN);
static_assert(InputMessage::KeyUp == WM_KEYUP);
static_assert(InputMessage::SysKeyDown == WM_SYSKEYDOWN);
static_assert(InputMessage::MouseMove == WM_MOUSEMOVE);
static_assert(InputMessage::LeftButtonDown == WM_LBUTTONDOWN);
static_assert(InputMessage::LeftButtonUp == WM_LBUTTONUP);
static_assert(InputMessage::LeftButtonDoubleClick == WM_LBUTTONDBLCLK);
static_assert(InputMessage::RightButtonDown == WM_RBUTTONDOWN);
static_assert(InputMessage::MiddleButtonDown == WM_MBUTTONDOWN);
static_assert(InputMessage::MouseWheel == WM_MOUSEWHEEL);

// ImmAssociateContext of IMM32.DLL.
using ImmAssociateContextEntry = HIMC(WINAPI*)(HWND window, HIMC context);

HMODULE ImeModule;
ImmAssociateContextEntry ImeAssociateEntry;
HIMC SavedImeContext;

namespace {

constexpr UINT_PTR kPreviewTimer = 0;
constexpr UINT kPreviewTimerPeriod = 0;  // The platform's shortest.

// Where the cursor was when the window appeared or when a close was last refused; mouse moves
// close the saver only once they leave its neighbourhood.
ScreenPoint RecordedCursor;

void RecordCursor() {
    POINT cursor{};
    if (GetCursorPos(&cursor)) {
        RecordedCursor = {cursor.x, cursor.y};
    }
}

// The screen position a mouse message reports (client coordinates in its lParam).
ScreenPoint MessagePosition(HWND window, LPARAM lParam) {
    POINT point{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
    ClientToScreen(window, &point);
    return {point.x, point.y};
}

// Detaches the input method from the window, when the process already has IMM32.DLL; the
// module is never loaded here.
void DetachInputMethod(HWND window) {
    ImeModule = GetModuleHandleA("IMM32.DLL");
    if (ImeModule == nullptr) {
        return;
    }
    ImeAssociateEntry = reinterpret_cast<ImmAssociateContextEntry>(
        GetProcAddress(ImeModule, "ImmAssociateContext"));
    if (ImeAssociateEntry != nullptr) {
        SavedImeContext = ImeAssociateEntry(window, nullptr);
    }
}

void RestoreInputMethod(HWND window) {
    if (ImeModule != nullptr && ImeAssociateEntry != nullptr && SavedImeContext != nullptr) {
        ImeAssociateEntry(window, SavedImeContext);
    }
}

// The system commands that would switch away from the full-screen saver or start another one.
// The whole wParam is compared: a command with any low bit set is not one of these.
bool SwallowedSystemCommand(WPARAM command) {
    return command == SC_NEXTWINDOW || command == SC_PREVWINDOW || command == SC_SCREENSAVE;
}

}  // namespace

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            DetachInputMethod(window);
            RecordCursor();  // Before the cursor is hidden.
            if (IsPreview == 0) {
                SetCursor(nullptr);
            }
            return SceneMessageProc(window, message, wParam, lParam);
        case WM_DESTROY:
            RestoreInputMethod(window);
            PostQuitMessage(0);
            return SceneMessageProc(window, message, wParam, lParam);
        case WM_SETTEXT:
            // The title never changes, so a second start always finds this window by it.
            return FALSE;
        case WM_PAINT:
            if (CloseAccepted != 0) {
                return DefWindowProcA(window, message, wParam, lParam);
            }
            if (IsPreview == 0) {
                SetCursor(nullptr);
            }
            return SceneMessageProc(window, message, wParam, lParam);
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (CloseAccepted != 0) {
                return DefWindowProcA(window, message, wParam, lParam);
            }
            return SceneMessageProc(window, message, wParam, lParam);
        case WM_SYSCOMMAND:
            if (IsPreview == 0 && SwallowedSystemCommand(wParam)) {
                return 0;
            }
            return SceneMessageProc(window, message, wParam, lParam);
        default:
            return SceneMessageProc(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK SceneMessageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            if (IsPreview != 0) {
                SetTimer(window, kPreviewTimer, kPreviewTimerPeriod, nullptr);
            }
            SeedRandom(GetTickCount());
            SetUpScene(window);
            return SaverDefaultProc(window, message, wParam, lParam);
        case WM_DESTROY:
            if (IsPreview != 0) {
                KillTimer(window, kPreviewTimer);
            }
            // Sprites before the display that owns their DirectDraw object; the points last.
            ballSprites[0].Release();
            ballSprites[1].Release();
            logoSprite.Release();
            infoSprite.Release();
            display.Release();
            ReleaseScenePoints();
            return 1;
        case WM_ERASEBKGND:
            display.Clear();
            return 1;
        case WM_TIMER:
            display.UpdateRects();
            if (IsPreview != 0) {
                RenderFrame();
            }
            return SaverDefaultProc(window, message, wParam, lParam);
        default:
            return SaverDefaultProc(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK SaverDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsPreview != 0 || CloseAccepted != 0) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (message == WM_CLOSE) {
        if (!OnWin9x || ConfirmClose(window) != 0) {
            return DefWindowProcA(window, message, wParam, lParam);
        }
        RecordCursor();
        return 0;
    }
    if (message == kPasswordQueryMessage) {
        if (OnWin9x && VerifierEntry != nullptr) {
            return VerifierEntry(window);
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (CheckingPassword != 0) {
        // Input while the verifier asks for the password neither closes nor hides the cursor.
        return DefWindowProcA(window, message, wParam, lParam);
    }
    switch (message) {
        case WM_SHOWWINDOW:
            if (wParam != 0) {
                SetCursor(nullptr);
            }
            return 1;
        case WM_SETCURSOR:
            SetCursor(nullptr);
            return TRUE;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            const ScreenPoint position =
                message == WM_MOUSEMOVE ? MessagePosition(window, lParam) : RecordedCursor;
            if (InputClosesSaver(message, RecordedCursor, position)) {
                PostMessageA(window, WM_CLOSE, 0, 0);
            }
            return DefWindowProcA(window, message, wParam, lParam);
        }
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
