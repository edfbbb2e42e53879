// Brings the display up full screen at 16 bits per pixel, checks on the back buffer that each
// sprite leaves exactly its background transparent and that the shown frame can be copied
// back, then shows the four sprites at fixed places for a few seconds so that a screenshot can
// be taken.
//
// Usage: present-demo.exe [milliseconds to keep showing, default 5000]
// Exit code: 0 when every check passed, 1 when a check failed, 2 when the display did not come
// up, 3 when a sprite did not load.
#include <windows.h>
#include <ddraw.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "present/Display.h"
#include "present/Sprite.h"
#include "res/ResourceIds.h"

namespace {

constexpr char kWindowClass[] = "ZemlarPresentDemo";
constexpr DWORD kDefaultShowMilliseconds = 5000;
constexpr DWORD kFramePause = 20;

struct Placement {
    Sprite* sprite;
    int x;
    int y;
};

LRESULT CALLBACK DemoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETCURSOR) {
        SetCursor(nullptr);
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
    }
}

// Every pixel of a surface, colour bits only, row by row.
std::vector<DWORD> ReadSurface(IDirectDrawSurface* surface, DWORD& width, DWORD& height,
                               DWORD& bitCount) {
    std::vector<DWORD> pixels;
    DDSURFACEDESC locked{};
    locked.dwSize = sizeof(locked);
    if (surface->Lock(nullptr, &locked, DDLOCK_WAIT | DDLOCK_READONLY, nullptr) != DD_OK) {
        return pixels;
    }
    width = locked.dwWidth;
    height = locked.dwHeight;
    bitCount = locked.ddpfPixelFormat.dwRGBBitCount;
    const DWORD colourBits = locked.ddpfPixelFormat.dwRBitMask | locked.ddpfPixelFormat.dwGBitMask |
                             locked.ddpfPixelFormat.dwBBitMask;
    const auto* bytes = static_cast<const unsigned char*>(locked.lpSurface);
    for (DWORD row = 0; row < height; ++row) {
        for (DWORD column = 0; column < width; ++column) {
            const unsigned char* pixel =
                bytes + static_cast<std::ptrdiff_t>(row) * locked.lPitch + column * (bitCount / 8);
            DWORD value = 0;
            for (DWORD byte = 0; byte < bitCount / 8; ++byte) {
                value |= DWORD{pixel[byte]} << (8 * byte);
            }
            pixels.push_back(value & colourBits);
        }
    }
    surface->Unlock(nullptr);
    return pixels;
}

// Draws the sprite alone on a cleared back buffer and compares every drawn pixel with the
// sprite's own surface: key-coloured pixels must show the black underneath, all others must
// be copied, and the last column and row must stay black.
bool CheckSprite(const char* name, Sprite& sprite, int x, int y) {
    DDCOLORKEY key{};
    if (sprite.surface->GetColorKey(DDCKEY_SRCBLT, &key) != DD_OK ||
        key.dwColorSpaceLowValue > 0xFFFF) {
        std::fprintf(stderr, "%s: no 16-bit colour key (0x%lx)\n", name,
                     static_cast<unsigned long>(key.dwColorSpaceLowValue));
        return false;
    }
    display.Clear();
    sprite.x = x;
    sprite.y = y;
    if (sprite.Draw() != DD_OK) {
        std::fprintf(stderr, "%s: draw refused\n", name);
        return false;
    }
    DWORD spriteWidth = 0, spriteHeight = 0, spriteBits = 0;
    const auto image = ReadSurface(sprite.surface, spriteWidth, spriteHeight, spriteBits);
    DWORD backWidth = 0, backHeight = 0, backBits = 0;
    const auto back = ReadSurface(display.backSurface, backWidth, backHeight, backBits);
    if (image.empty() || back.empty() || backBits != 16 || spriteBits != 16) {
        std::fprintf(stderr, "%s: surfaces not readable at 16 bits (%lu, %lu)\n", name,
                     static_cast<unsigned long>(spriteBits), static_cast<unsigned long>(backBits));
        return false;
    }
    int transparent = 0;
    int wrong = 0;
    for (DWORD row = 0; row < spriteHeight; ++row) {
        for (DWORD column = 0; column < spriteWidth; ++column) {
            const DWORD source = image[row * spriteWidth + column];
            const DWORD shown =
                back[(static_cast<DWORD>(y) + row) * backWidth + static_cast<DWORD>(x) + column];
            const bool drawn = column + 1 < spriteWidth && row + 1 < spriteHeight;
            const bool keyed = source == key.dwColorSpaceLowValue;
            transparent += drawn && keyed ? 1 : 0;
            wrong += shown != (drawn && !keyed ? source : 0) ? 1 : 0;
        }
    }
    std::fprintf(stderr, "%s: key 0x%04lx, %d transparent pixels, %d wrong pixels\n", name,
                 static_cast<unsigned long>(key.dwColorSpaceLowValue), transparent, wrong);
    return wrong == 0 && transparent > 0;
}

// Full screen computes no rectangles, and CopyPrimaryToBack brings the frame now on screen
// back into the back buffer (the trails option): after a flip the copy equals the frame.
bool CheckFullScreenFrame() {
    const RECT none{};
    const bool rectsZero = EqualRect(&display.screenRect, &none) != FALSE &&
                           EqualRect(&display.clientRect, &none) != FALSE;
    DWORD width = 0, height = 0, bits = 0;
    const auto frame = ReadSurface(display.backSurface, width, height, bits);
    display.Present();
    display.Clear();
    display.CopyPrimaryToBack();
    const auto copied = ReadSurface(display.backSurface, width, height, bits);
    const bool trails = !frame.empty() && copied == frame;
    std::fprintf(stderr, "full screen: rectangles %s, copy of the shown frame %s\n",
                 rectsZero ? "zero" : "SET", trails ? "equal" : "DIFFERENT");
    return rectsZero && trails;
}

HWND CreateDemoWindow(HINSTANCE instance, int width, int height) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DemoProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RegisterClassA(&windowClass);
    return CreateWindowExA(WS_EX_TOPMOST, kWindowClass, "Zemlar present demo",
                           WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr, instance,
                           nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    const DWORD showFor = argc > 1 ? static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10))
                                   : kDefaultShowMilliseconds;
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    HWND window = CreateDemoWindow(GetModuleHandleA(nullptr), width, height);
    PumpMessages();

    // The same order as the saver's set-up: mode, way, Init, then clear, present, clear.
    display.SetMode(width, height, 16);
    display.SetWindowed(false);
    if (!display.Init(window)) {
        std::fprintf(stderr, "the full-screen display did not come up\n");
        return 2;
    }
    display.Clear();
    display.Present();
    display.Clear();

    Sprite* const sprites[] = {&ballSprites[0], &ballSprites[1], &logoSprite, &infoSprite};
    const int ids[] = {IDB_BALL0, IDB_BALL1, IDB_LOGO, IDB_PANEL};
    for (int index = 0; index < 4; ++index) {
        sprites[index]->SetDisplay(&display);
        if (!sprites[index]->Load(MAKEINTRESOURCEA(ids[index]), true)) {
            std::fprintf(stderr, "bitmap %d did not load\n", ids[index]);
            return 3;
        }
    }

    bool passed = CheckSprite("ball 104", ballSprites[0], 400, 300);
    passed = CheckSprite("ball 108", ballSprites[1], 430, 300) && passed;
    passed = CheckSprite("logo 115", logoSprite, width - 256, height - 128) && passed;
    passed = CheckSprite("panel 116", infoSprite, 0, 0) && passed;

    // The panel at the top left and the logo at the bottom right, as the saver places them;
    // balls on black, one over the panel's plate, one over the logo's band, one cut by the
    // right edge.
    const Placement placements[] = {
        {&infoSprite, 0, 0},
        {&logoSprite, width - 256, height - 128},
        {&ballSprites[0], 400, 300},
        {&ballSprites[1], 430, 300},
        {&ballSprites[0], 182, 14},
        {&ballSprites[1], width - 256 + 200, height - 128 + 60},
        {&ballSprites[0], width - 8, 300},
    };
    display.Clear();
    for (const Placement& placement : placements) {
        placement.sprite->x = placement.x;
        placement.sprite->y = placement.y;
        placement.sprite->Draw();
    }
    passed = CheckFullScreenFrame() && passed;

    const DWORD start = GetTickCount();
    while (GetTickCount() - start < showFor) {
        PumpMessages();
        display.Clear();
        for (const Placement& placement : placements) {
            placement.sprite->x = placement.x;
            placement.sprite->y = placement.y;
            placement.sprite->Draw();
        }
        display.Present();
        Sleep(kFramePause);
    }

    for (Sprite* sprite : sprites) {
        sprite->Release();
    }
    display.Release();
    DestroyWindow(window);
    std::fprintf(stderr, passed ? "all checks passed\n" : "a check failed\n");
    return passed ? 0 : 1;
}
