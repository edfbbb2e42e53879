// The display and the sprites on Wine's real DirectDraw: a windowed display on a real window,
// the real bitmaps from this program's resources, draws checked by reading pixels back.
#include <windows.h>
#include <ddraw.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include <vector>

#include "present/Display.h"
#include "present/Sprite.h"
#include "res/ResourceIds.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
    }
}

// A captionless pop-up shown without activation: Wine hands captioned or active windows to the
// X window manager and, with none running in Xvfb, waits two seconds for each to be withdrawn.
class TestWindow {
  public:
    TestWindow() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ZemlarPresentTestWindow";
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        RegisterClassA(&windowClass);
        handle =
            CreateWindowExA(0, windowClass.lpszClassName, "Zemlar present test", WS_POPUP, 100, 100,
                            kWidth, kHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ShowWindow(handle, SW_SHOWNOACTIVATE);
        UpdateWindow(handle);
        PumpMessages();
    }
    ~TestWindow() {
        DestroyWindow(handle);
        PumpMessages();
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND handle;
};

// Every pixel value of the surface, row by row, colour bits only: the unused byte of a 32-bit
// X8R8G8B8 pixel is left out, since renderers may fill it with anything.
struct Pixels {
    int width = 0;
    std::vector<DWORD> values;
    DWORD at(int x, int y) const { return values[static_cast<std::size_t>(y * width + x)]; }
};

Pixels ReadPixels(IDirectDrawSurface* surface) {
    Pixels pixels;
    DDSURFACEDESC locked{};
    locked.dwSize = sizeof(locked);
    EXPECT_EQ(surface->Lock(nullptr, &locked, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
    if (locked.lpSurface == nullptr) {
        return pixels;
    }
    const DDPIXELFORMAT& format = locked.ddpfPixelFormat;
    const DWORD bits = format.dwRGBBitCount;
    const DWORD mask = format.dwRBitMask != 0
                           ? format.dwRBitMask | format.dwGBitMask | format.dwBBitMask
                           : (DWORD{1} << bits) - 1;
    pixels.width = static_cast<int>(locked.dwWidth);
    for (DWORD row = 0; row < locked.dwHeight; ++row) {
        const auto* line = static_cast<const unsigned char*>(locked.lpSurface) +
                           static_cast<std::ptrdiff_t>(row) * locked.lPitch;
        for (DWORD column = 0; column < locked.dwWidth; ++column) {
            DWORD value = 0;
            std::memcpy(&value, line + column * bits / 8, bits / 8);
            pixels.values.push_back(value & mask);
        }
    }
    surface->Unlock(nullptr);
    return pixels;
}

void Fill(IDirectDrawSurface* surface, DWORD value, RECT* area = nullptr) {
    DDBLTFX fill{};
    fill.dwSize = sizeof(fill);
    fill.dwFillColor = value;
    ASSERT_EQ(surface->Blt(area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fill), DD_OK);
}

// The surface's pixel value for an opaque RGB colour, from its channel masks.
DWORD PixelValueOf(IDirectDrawSurface* surface, COLORREF colour) {
    DDPIXELFORMAT format{};
    format.dwSize = sizeof(format);
    EXPECT_EQ(surface->GetPixelFormat(&format), DD_OK);
    DWORD value = 0;
    for (const auto& [channel, mask] : {std::pair{GetRValue(colour), format.dwRBitMask},
                                        std::pair{GetGValue(colour), format.dwGBitMask},
                                        std::pair{GetBValue(colour), format.dwBBitMask}}) {
        const DWORD shift = mask == 0 ? 0 : static_cast<DWORD>(std::countr_zero(mask));
        value |= ((DWORD{channel} * (mask >> shift) + 127) / 255) << shift;
    }
    return value;
}

// Each way of failing keeps what was made so far; every operation stays harmless, and Release
// (twice) takes it down.
TEST(Display, FailedOrMissingInitLeavesEverythingReleasable) {
    const struct {
        const char* name;
        bool init;
        bool windowed;
        bool withWindow;
        int width;
        bool expectPrimary;
    } cases[] = {
        {"never initialised", false, true, true, kWidth, false},
        {"full screen without window", true, false, false, kWidth, false},
        {"windowed back surface of no width", true, true, true, 0, true},
    };
    for (const auto& c : cases) {
        TestWindow window;
        Display display;
        display.SetMode(c.width, kHeight, 16);
        display.SetWindowed(c.windowed);
        if (c.init) {
            EXPECT_FALSE(display.Init(c.withWindow ? window.handle : nullptr)) << c.name;
            EXPECT_NE(display.directDraw, nullptr) << c.name;
        }
        EXPECT_EQ(display.primarySurface != nullptr, c.expectPrimary) << c.name;
        EXPECT_EQ(display.backSurface, nullptr) << c.name;
        display.UpdateRects();
        display.Clear();
        display.CopyPrimaryToBack();
        display.Present();
        display.Release();
        EXPECT_EQ(display.directDraw, nullptr) << c.name;
        EXPECT_EQ(display.primarySurface, nullptr) << c.name;
        display.Release();
    }
}

// A windowed display on a real top-level window, as the preview brings it up.
class WindowedDisplay : public ::testing::Test {
  protected:
    void SetUp() override {
        screen.SetMode(kWidth, kHeight, 16);
        screen.SetWindowed(true);
        ASSERT_TRUE(screen.Init(window.handle))
            << "DirectDraw did not start in a window (is DISPLAY set to a running X server?)";
    }
    void TearDown() override {
        sprite.Release();
        screen.Release();
    }

    // A pixel of the primary surface in the middle of the window.
    DWORD PrimaryAtWindowCentre() {
        return ReadPixels(screen.primarySurface)
            .at((screen.screenRect.left + screen.screenRect.right) / 2,
                (screen.screenRect.top + screen.screenRect.bottom) / 2);
    }

    TestWindow window;
    Display screen;
    Sprite sprite{&screen};
};

TEST_F(WindowedDisplay, ClearFillsTheBackSurfaceWithZeroAndReleaseTwiceIsHarmless) {
    Fill(screen.backSurface, 0x1234);
    screen.Clear();
    const Pixels back = ReadPixels(screen.backSurface);
    EXPECT_EQ(back.values.size(), std::size_t{kWidth * kHeight});
    EXPECT_EQ(std::count(back.values.begin(), back.values.end(), 0U), kWidth * kHeight);
    screen.Release();
    screen.Release();
    EXPECT_EQ(screen.directDraw, nullptr);
    screen.Clear();
    screen.CopyPrimaryToBack();
    screen.Present();
}

TEST_F(WindowedDisplay, CopyPrimaryToBackScalesTheWholeDesktopIntoTheBackSurface) {
    const DWORD marker = PixelValueOf(screen.primarySurface, RGB(40, 200, 90));
    screen.Clear();
    Fill(screen.primarySurface, marker, &screen.screenRect);
    screen.CopyPrimaryToBack();
    DDSURFACEDESC desktop{};
    desktop.dwSize = sizeof(desktop);
    ASSERT_EQ(screen.primarySurface->GetSurfaceDesc(&desktop), DD_OK);
    // The window's centre lands where the desktop-to-back-surface scale puts it.
    const int centreX = (screen.screenRect.left + screen.screenRect.right) / 2;
    const int centreY = (screen.screenRect.top + screen.screenRect.bottom) / 2;
    EXPECT_EQ(ReadPixels(screen.backSurface)
                  .at(centreX * kWidth / static_cast<int>(desktop.dwWidth),
                      centreY * kHeight / static_cast<int>(desktop.dwHeight)),
              marker);
}

TEST_F(WindowedDisplay, PresentBlitsIntoTheWindowOnlyWhileEnabled) {
    const DWORD before = PixelValueOf(screen.primarySurface, RGB(200, 30, 30));
    const DWORD frame = PixelValueOf(screen.primarySurface, RGB(30, 30, 200));
    Fill(screen.primarySurface, before, &screen.screenRect);
    Fill(screen.backSurface, frame);
    screen.presentEnabled = false;
    screen.Present();
    EXPECT_EQ(PrimaryAtWindowCentre(), before);
    screen.presentEnabled = true;
    screen.Present();
    EXPECT_EQ(PrimaryAtWindowCentre(), frame);
}

// A 16 x 16 ball whose pixels are all ink but the transparent top-left one, so that the drawn
// rectangle shows exactly which columns and rows reach the back surface.
TEST_F(WindowedDisplay, SpritesPutFifteenByFifteenPixelsClippedOnlyAtTheRightEdge) {
    ASSERT_TRUE(sprite.Load(MAKEINTRESOURCEA(IDB_BALL0), true));
    ASSERT_EQ(sprite.lastColumn, 15);
    ASSERT_EQ(sprite.lastRow, 15);
    const DWORD background = ReadPixels(sprite.surface).at(0, 0);
    const DWORD ink = PixelValueOf(sprite.surface, RGB(0, 160, 255));
    ASSERT_NE(ink, background);
    Fill(sprite.surface, ink);
    RECT topLeft{0, 0, 1, 1};
    Fill(sprite.surface, background, &topLeft);

    const int fit = kWidth - 15;  // The last x at which the whole sprite fits.
    const struct {
        int x;
        int y;
        int drawnWidth;  // 0: the platform refuses the draw and nothing shows.
    } cases[] = {
        {40, 30, 15},
        {fit - 10, 100, 15},
        {fit, 100, 15},
        {fit + 1, 100, 14},
        {fit + 14, 100, 1},
        {fit + 15, 100, 0},
        {fit + 16, 100, 0},
        {kWidth, 50, 0},
        {-1, 50, 0},
        {50, -1, 0},
        {-2000000000, 50, 0},
        {50, kHeight - 14, 0},
        {10, kHeight - 15, 15},
    };
    for (const auto& c : cases) {
        screen.Clear();
        sprite.x = c.x;
        sprite.y = c.y;
        const HRESULT drawn = sprite.Draw();
        EXPECT_EQ(drawn == DD_OK, c.drawnWidth > 0) << "at " << c.x << ", " << c.y;
        // Every pixel: ink exactly where the drawn columns and rows meet, bar the top-left one.
        const Pixels back = ReadPixels(screen.backSurface);
        int wrong = 0;
        for (int row = 0; row < kHeight; ++row) {
            for (int column = 0; column < kWidth; ++column) {
                const bool inked = column >= c.x && column < c.x + c.drawnWidth && row >= c.y &&
                                   row < c.y + 15 && (column != c.x || row != c.y);
                wrong += inked != (back.at(column, row) == ink) ? 1 : 0;
            }
        }
        EXPECT_EQ(wrong, 0) << "at " << c.x << ", " << c.y;
    }
}

// The real sprite images: only their background (the top-left colour) is transparent, and the
// last column and row never show.
TEST_F(WindowedDisplay, OnlyTheBackgroundOfTheRealBitmapsIsTransparent) {
    const DWORD underneath = PixelValueOf(screen.backSurface, RGB(1, 2, 3));
    for (const int id : {IDB_BALL0, IDB_BALL1, IDB_LOGO, IDB_PANEL}) {
        ASSERT_TRUE(sprite.Load(MAKEINTRESOURCEA(id), true)) << "bitmap " << id;
        const int width = sprite.lastColumn + 1;
        const int height = sprite.lastRow + 1;
        EXPECT_EQ(width, id == IDB_BALL0 || id == IDB_BALL1 ? 16 : 256);
        // The original picture, as GDI reads the resource.
        auto* bitmap =
            static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                            IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        HDC memoryDc = CreateCompatibleDC(nullptr);
        SelectObject(memoryDc, bitmap);
        const COLORREF background = GetPixel(memoryDc, 0, 0);

        Fill(screen.backSurface, underneath);
        sprite.x = 0;
        sprite.y = 0;
        ASSERT_EQ(sprite.Draw(), DD_OK);
        const Pixels drawn = ReadPixels(screen.backSurface);
        int transparent = 0;
        for (int row = 0; row < height; ++row) {
            for (int column = 0; column < width; ++column) {
                const bool isBackground = GetPixel(memoryDc, column, row) == background;
                const bool edge = column == width - 1 || row == height - 1;
                EXPECT_EQ(drawn.at(column, row) == underneath, isBackground || edge)
                    << "bitmap " << id << " at " << column << ", " << row;
                transparent += isBackground && !edge ? 1 : 0;
            }
        }
        EXPECT_GT(transparent, 0);
        EXPECT_LT(transparent, (width - 1) * (height - 1));
        DeleteDC(memoryDc);
        DeleteObject(bitmap);
    }
}

TEST_F(WindowedDisplay, SecondLoadReleasesTheFirstSurface) {
    ASSERT_TRUE(sprite.Load(MAKEINTRESOURCEA(IDB_LOGO), true));
    IDirectDrawSurface* first = sprite.surface;
    first->AddRef();
    ASSERT_TRUE(sprite.Load(MAKEINTRESOURCEA(IDB_BALL0), true));
    EXPECT_NE(sprite.surface, nullptr);
    EXPECT_EQ(sprite.lastColumn, 15);
    EXPECT_EQ(first->Release(), 0U);  // Our reference was the only one left.
}

// A failed load leaves the sprite without a surface, and Release (twice) stays harmless.
TEST_F(WindowedDisplay, FailedLoadsLeaveNothingToDrawAndStayReleasable) {
    ASSERT_TRUE(sprite.Load(MAKEINTRESOURCEA(IDB_BALL0), true));
    EXPECT_FALSE(sprite.Load(MAKEINTRESOURCEA(9999), true));
    EXPECT_EQ(sprite.surface, nullptr);
    EXPECT_FALSE(sprite.Load("no such file.bmp", false));
    EXPECT_EQ(sprite.surface, nullptr);
    EXPECT_NE(sprite.Draw(), DD_OK);
    // No DirectDraw object to make the surface with, or no display at all.
    Display idle;
    Sprite unready{&idle};
    Sprite detached;
    for (Sprite* other : {&unready, &detached}) {
        EXPECT_FALSE(other->Load(MAKEINTRESOURCEA(IDB_LOGO), true));
        EXPECT_EQ(other->surface, nullptr);
        EXPECT_NE(other->Draw(), DD_OK);
        other->Release();
        other->Release();
    }
    sprite.Release();
    sprite.Release();
}

// The colour key is the top-left pixel value at the surface's own depth, and no key at all
// when the surface cannot be locked (a guessed key could make real colours transparent).
TEST_F(WindowedDisplay, ColorKeyIsTheTopLeftPixelAtEachDepthAndNoneWhenLockFails) {
    constexpr unsigned char kLeadingBytes[] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
    const struct {
        DWORD bitCount;
        DWORD flags;
        DWORD redMask;
        DWORD greenMask;
        DWORD blueMask;
        DWORD expectedKey;
    } depths[] = {
        {8, DDPF_RGB | DDPF_PALETTEINDEXED8, 0, 0, 0, 0x11},
        {16, DDPF_RGB, 0xF800, 0x07E0, 0x001F, 0x2211},
        {16, DDPF_RGB, 0x7C00, 0x03E0, 0x001F, 0x2211},
        {24, DDPF_RGB, 0xFF0000, 0x00FF00, 0x0000FF, 0x332211},
        {32, DDPF_RGB, 0xFF0000, 0x00FF00, 0x0000FF, 0x44332211},
    };
    for (const auto& depth : depths) {
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof(desc);
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.dwWidth = 8;
        desc.dwHeight = 4;
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        desc.ddpfPixelFormat = {
            sizeof(DDPIXELFORMAT), depth.flags,      0,  {depth.bitCount}, {depth.redMask},
            {depth.greenMask},     {depth.blueMask}, {0}};
        sprite.Release();
        ASSERT_EQ(screen.directDraw->CreateSurface(&desc, &sprite.surface, nullptr), DD_OK);
        DDSURFACEDESC locked{};
        locked.dwSize = sizeof(locked);
        ASSERT_EQ(sprite.surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DD_OK);
        std::memcpy(locked.lpSurface, kLeadingBytes, sizeof(kLeadingBytes));
        sprite.surface->Unlock(nullptr);

        sprite.ApplyColorKey(0xFFFFFFFF);
        DDCOLORKEY key{};
        ASSERT_EQ(sprite.surface->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
        EXPECT_EQ(key.dwColorSpaceLowValue, depth.expectedKey) << depth.bitCount << " bits";
        EXPECT_EQ(key.dwColorSpaceHighValue, depth.expectedKey) << depth.bitCount << " bits";

        ASSERT_EQ(sprite.surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DD_OK);
        sprite.ApplyColorKey(0xFFFFFFFF);
        sprite.surface->Unlock(nullptr);
        EXPECT_EQ(sprite.surface->GetColorKey(DDCKEY_SRCBLT, &key), DDERR_NOCOLORKEY)
            << depth.bitCount << " bits";
    }
}

}  // namespace
