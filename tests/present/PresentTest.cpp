// The sprites on Wine's real DirectDraw: a windowed display on a real window, the real ball
// bitmap from this program's resources, draws checked by reading the back surface.
#include <windows.h>
#include <ddraw.h>

#include <gtest/gtest.h>

#include <cstring>

#include "present/Display.h"
#include "present/Sprite.h"
#include "res/ResourceIds.h"
#include "SpriteDrawCases.h"

namespace {

constexpr int kWidth = kCaseWidth;
constexpr int kHeight = kCaseHeight;

// The surface locked, read through `read`, unlocked.
template <typename Read>
void Locked(IDirectDrawSurface* surface, Read read) {
    DDSURFACEDESC locked{};
    locked.dwSize = sizeof(locked);
    ASSERT_EQ(surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DD_OK);
    read(locked);
    surface->Unlock(nullptr);
}

// A pixel of a locked surface, colour bits only: renderers may fill the unused byte of a 32-bit
// pixel with anything.
DWORD PixelAt(const DDSURFACEDESC& d, int x, int y) {
    const DDPIXELFORMAT& f = d.ddpfPixelFormat;
    DWORD value = 0;
    const DWORD bytes = f.dwRGBBitCount / 8;
    std::memcpy(&value, static_cast<const char*>(d.lpSurface) + y * d.lPitch + x * int(bytes),
                bytes);
    return value & (f.dwRBitMask | f.dwGBitMask | f.dwBBitMask);
}

void Fill(IDirectDrawSurface* surface, DWORD value, RECT* area = nullptr) {
    DDBLTFX fill{};
    fill.dwSize = sizeof(fill);
    fill.dwFillColor = value;
    ASSERT_EQ(surface->Blt(area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fill), DD_OK);
}

// A captionless pop-up shown without activation (Wine waits for a window manager otherwise),
// with a windowed display as the preview brings it up.
class Sprites : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 100, 100, kWidth, kHeight, nullptr,
                                  nullptr, nullptr, nullptr);
        ShowWindow(window_, SW_SHOWNOACTIVATE);
        screen.SetMode(kWidth, kHeight, 16);
        screen.SetWindowed(true);
        ASSERT_TRUE(screen.Init(window_)) << "DirectDraw did not start (no X display?)";
    }
    void TearDown() override {
        sprite.Release();
        screen.Release();
        DestroyWindow(window_);
    }
    HWND window_ = nullptr;
    Display screen;
    Sprite sprite{&screen};
};

// A 16 x 16 ball whose pixels are all ink but the transparent top-left one, so the drawn
// rectangle shows exactly which columns and rows reach the back surface.
TEST_F(Sprites, PutFifteenByFifteenPixelsClippedOnlyAtTheRightEdge) {
    ASSERT_TRUE(sprite.Load(MAKEINTRESOURCEA(IDB_BALL0), true));
    ASSERT_EQ(sprite.lastColumn, 15);
    ASSERT_EQ(sprite.lastRow, 15);
    DWORD background = 0;
    Locked(sprite.surface, [&](DDSURFACEDESC& d) { background = PixelAt(d, 0, 0); });
    const DWORD ink = background == 0x1234 ? 0x4321 : 0x1234;  // A colour at 16 and 32 bits.
    RECT topLeft{0, 0, 1, 1};
    Fill(sprite.surface, ink);
    Fill(sprite.surface, background, &topLeft);
    for (const auto& [x, y, drawn] : kSpriteDrawCases) {
        screen.Clear();
        sprite.x = x;
        sprite.y = y;
        EXPECT_EQ(sprite.Draw() == DD_OK, drawn > 0) << "at " << x << ", " << y;
        int wrong = 0;  // Ink exactly where the drawn columns and rows meet, bar the top left.
        Locked(screen.backSurface, [&](DDSURFACEDESC& d) {
            for (int row = 0; row < kHeight; ++row) {
                for (int column = 0; column < kWidth; ++column) {
                    const bool inked = column >= x && column < x + drawn && row >= y &&
                                       row < y + 15 && (column != x || row != y);
                    wrong += inked != (PixelAt(d, column, row) == ink) ? 1 : 0;
                }
            }
        });
        EXPECT_EQ(wrong, 0) << "at " << x << ", " << y;
    }
}

// The colour key is the top-left pixel value at the surface's own depth, and no key at all when
// the surface cannot be locked (a guessed key could make real colours transparent).
TEST_F(Sprites, ColorKeyIsTheTopLeftPixelAtEachDepthAndNoneWhenLockFails) {
    const DWORD depths[][5] = {
        // bits, red, green and blue masks, the key
        {8, 0, 0, 0, 0x11},
        {16, 0xF800, 0x07E0, 0x001F, 0x2211},
        {24, 0xFF0000, 0x00FF00, 0x0000FF, 0x332211},
        {32, 0xFF0000, 0x00FF00, 0x0000FF, 0x44332211},
    };
    for (const auto& [bits, red, green, blue, expected] : depths) {
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof(desc);
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.dwWidth = 8;
        desc.dwHeight = 4;
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        const DWORD flags = DDPF_RGB | (bits == 8 ? DDPF_PALETTEINDEXED8 : 0);
        desc.ddpfPixelFormat = {
            sizeof(DDPIXELFORMAT), flags, 0, {bits}, {red}, {green}, {blue}, {0}};
        sprite.Release();
        ASSERT_EQ(screen.directDraw->CreateSurface(&desc, &sprite.surface, nullptr), DD_OK);
        Locked(sprite.surface, [](DDSURFACEDESC& d) {
            std::memcpy(d.lpSurface, "\x11\x22\x33\x44\x55\x66\x77\x88", 8);
        });
        sprite.ApplyColorKey(0xFFFFFFFF);
        DDCOLORKEY key{};
        ASSERT_EQ(sprite.surface->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
        EXPECT_EQ(key.dwColorSpaceLowValue, expected) << bits << " bits";
        EXPECT_EQ(key.dwColorSpaceHighValue, expected) << bits << " bits";
        Locked(sprite.surface, [&](DDSURFACEDESC&) { sprite.ApplyColorKey(0xFFFFFFFF); });
        EXPECT_EQ(sprite.surface->GetColorKey(DDCKEY_SRCBLT, &key), DDERR_NOCOLORKEY) << bits;
    }
}

// The real pictures as loaded: a pixel shows over what lies underneath exactly where GDI reads
// the resource as other than its top-left background colour, bar the last column and row.
TEST_F(Sprites, RealBitmapsShowAllButTheirBackground) {
    for (const int id : {IDB_BALL0, IDB_BALL1, IDB_LOGO, IDB_PANEL}) {
        ASSERT_TRUE(sprite.Load(MAKEINTRESOURCEA(id), true)) << id;
        auto* bitmap =
            static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                            IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        const HDC memoryDc = CreateCompatibleDC(nullptr);
        SelectObject(memoryDc, bitmap);
        Fill(screen.backSurface, 0x010203);
        sprite.x = sprite.y = 0;
        ASSERT_EQ(sprite.Draw(), DD_OK);
        int wrong = 0, shown = 0;
        Locked(screen.backSurface, [&](DDSURFACEDESC& d) {
            for (int row = 0; row <= sprite.lastRow; ++row) {
                for (int column = 0; column <= sprite.lastColumn; ++column) {
                    const bool shows = column < sprite.lastColumn && row < sprite.lastRow &&
                                       GetPixel(memoryDc, column, row) != GetPixel(memoryDc, 0, 0);
                    wrong += shows == (PixelAt(d, column, row) == PixelAt(d, 0, 0)) ? 1 : 0;
                    shown += shows ? 1 : 0;
                }
            }
        });
        EXPECT_EQ(wrong, 0) << "bitmap " << id;
        EXPECT_GT(shown, 0) << "bitmap " << id;
        DeleteDC(memoryDc);
        DeleteObject(bitmap);
    }
}

}  // namespace
