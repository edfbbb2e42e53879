// Shows the ball scene on its own, full screen, for looking at it: sets the scene up the way
// the saver window does and draws a number of frames in phases, holding the picture still
// after each phase so that it can be photographed. The settings come from ZemlarConf.cfg in the
// working directory, as in the saver.
//
// Usage: scene-demo [frames per phase] [hold milliseconds] [phases]
// After each phase it writes the file "scene-demo-phase-<n>" into the working directory, then
// holds; a script waits for that file and takes its screenshot. Exits with 0 after the last
// phase, or 3 when the display gave no back surface to draw on.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "present/Display.h"
#include "present/Sprite.h"
#include "scene/Random.h"
#include "scene/SceneWindow.h"

namespace {

constexpr char kClassName[] = "ZemlarSceneDemo";

LRESULT CALLBACK DemoWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            SeedRandom(GetTickCount());
            SetUpScene(window);
            return 0;
        case WM_ERASEBKGND:
            display.Clear();
            return 1;
        case WM_DESTROY:
            ballSprites[0].Release();
            ballSprites[1].Release();
            logoSprite.Release();
            infoSprite.Release();
            display.Release();
            ReleaseScenePoints();
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

// Handles whatever is queued; false once the window has gone.
bool PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

void MarkPhase(int phase) {
    char name[64];
    std::snprintf(name, sizeof name, "scene-demo-phase-%d", phase);
    if (std::FILE* file = std::fopen(name, "w")) {
        std::fclose(file);
    }
}

int ArgumentOr(int index, int fallback) {
    if (index < __argc && __argv[index] != nullptr) {
        return std::atoi(__argv[index]);
    }
    return fallback;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const int framesPerPhase = ArgumentOr(1, 300);
    const int holdMilliseconds = ArgumentOr(2, 3000);
    const int phases = ArgumentOr(3, 2);

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DemoWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = nullptr;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    if (RegisterClassA(&windowClass) == 0) {
        return 1;
    }
    HWND window = CreateWindowExA(WS_EX_TOPMOST, kClassName, "Scene demo", WS_POPUP | WS_VISIBLE, 0,
                                  0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                  nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 2;
    }
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    if (display.backSurface == nullptr) {
        DestroyWindow(window);
        PumpMessages();
        return 3;
    }

    for (int phase = 1; phase <= phases; ++phase) {
        for (int frame = 0; frame < framesPerPhase; ++frame) {
            if (!PumpMessages()) {
                return 0;
            }
            RenderIdleFrame();
        }
        MarkPhase(phase);
        const DWORD holdStart = GetTickCount();
        while (GetTickCount() - holdStart < static_cast<DWORD>(holdMilliseconds)) {
            if (!PumpMessages()) {
                return 0;
            }
            Sleep(10);
        }
    }
    DestroyWindow(window);
    PumpMessages();
    return 0;
}
