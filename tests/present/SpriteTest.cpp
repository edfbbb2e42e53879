#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "PresentTestSupport.h"
#include "present/Display.h"
#include "present/Sprite.h"
#include "res/ResourceIds.h"

using present_test::ReadAllPixels;
using present_test::TestWindow;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr COLORREF kBackground = RGB(255, 0, 255);
constexpr COLORREF kInk = RGB(0, 160, 255);

// Sprites on a windowed display whose back surface starts cleared to 0.
class SpriteOnDisplay : public ::testing::Test {
  protected:
    void SetUp() override {
        screen.SetMode(kWidth, kHeight, 16);
        screen.SetWindowed(true);
        ASSERT_TRUE(screen.Init(window.handle()))
            << "DirectDraw did not start in a window (is DISPLAY set to a running X server?)";
        screen.Clear();
    }
    void TearDown() override {
        sprite.Release();
        screen.Release();
        std::remove(solidPath.c_str());
    }

    // A 16 x 16 file bitmap: background at the top-left pixel only, ink everywhere else, so
    // that the last column and row show whether they are drawn.
    void LoadSolidBall() {
        present_test::WriteBitmapFile(
            solidPath, 16, 16, [](int x, int y) { return x == 0 && y == 0 ? kBackground : kInk; });
        ASSERT_TRUE(sprite.Load(solidPath.c_str(), false));
        ink = present_test::PixelValueOf(screen.backSurface, kInk);
    }

    // The rectangle of back-surface pixels that hold ink; empty when none do.
    RECT InkedArea() {
        const auto pixels = ReadAllPixels(screen.backSurface);
        RECT area{pixels.width, pixels.height, 0, 0};
        for (int row = 0; row < pixels.height; ++row) {
            for (int column = 0; column < pixels.width; ++column) {
                if (pixels.at(column, row) == ink) {
                    area = RECT{std::min<LONG>(area.left, column), std::min<LONG>(area.top, row),
                                std::max<LONG>(area.right, column + 1),
                                std::max<LONG>(area.bottom, row + 1)};
                }
            }
        }
        return area.right == 0 ? RECT{} : area;
    }

    int NonZeroPixels() {
        const auto pixels = ReadAllPixels(screen.backSurface);
        return static_cast<int>(pixels.values.size()) -
               static_cast<int>(std::count(pixels.values.begin(), pixels.values.end(), 0u));
    }

    TestWindow window{kWidth, kHeight};
    Display screen;
    Sprite sprite{&screen};
    std::string solidPath = present_test::TempPath("solid.bmp");
    DWORD ink = 0;
};

TEST_F(SpriteOnDisplay, SixteenBySixteenBitmapPutsFifteenByFifteenPixels) {
    LoadSolidBall();
    EXPECT_EQ(sprite.lastColumn, 15);
    EXPECT_EQ(sprite.lastRow, 15);
    sprite.x = 40;
    sprite.y = 30;
    EXPECT_EQ(sprite.Draw(), DD_OK);

    const RECT area = InkedArea();
    EXPECT_EQ(area.left, 40);
    EXPECT_EQ(area.top, 30);
    EXPECT_EQ(area.right, 55);
    EXPECT_EQ(area.bottom, 45);
    // 15 x 15 pixels less the transparent top-left one.
    EXPECT_EQ(NonZeroPixels(), 15 * 15 - 1);
}

// Only the right edge is clipped: the sprite ends exactly at the edge, and each step further
// right takes one column off the source rectangle until nothing is left.
// (x = width - lastColumn + offsetFromFit; the drawn columns end at x + expectedRight.)
struct RightEdgeCase {
    int offsetFromFit;
    LONG expectedRight;
    bool drawn;
};

class SpriteRightEdge : public SpriteOnDisplay,
                        public ::testing::WithParamInterface<RightEdgeCase> {};

TEST_P(SpriteRightEdge, ClipsTheSourceRectangle) {
    LoadSolidBall();
    const RightEdgeCase& edge = GetParam();
    sprite.x = kWidth - sprite.lastColumn + edge.offsetFromFit;
    sprite.y = 100;
    const HRESULT hr = sprite.Draw();

    EXPECT_EQ(sprite.sourceRect.right, edge.expectedRight);
    const RECT area = InkedArea();
    if (edge.drawn) {
        EXPECT_EQ(hr, DD_OK);
        EXPECT_EQ(area.left, sprite.x);
        EXPECT_EQ(area.right, sprite.x + edge.expectedRight);
    } else {
        EXPECT_NE(hr, DD_OK);
        EXPECT_EQ(NonZeroPixels(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Positions, SpriteRightEdge,
                         ::testing::Values(RightEdgeCase{-10, 15, true}, RightEdgeCase{0, 15, true},
                                           RightEdgeCase{1, 14, true}, RightEdgeCase{14, 1, true},
                                           RightEdgeCase{15, 0, false},
                                           RightEdgeCase{16, -1, false},
                                           RightEdgeCase{400, -385, false}));

// Every other overhang is handed on unclipped and the platform refuses it whole.
struct RefusedCase {
    const char* name;
    int x;
    int y;
};

class SpriteRefused : public SpriteOnDisplay, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(SpriteRefused, DrawsNothing) {
    LoadSolidBall();
    sprite.x = GetParam().x;
    sprite.y = GetParam().y;
    EXPECT_NE(sprite.Draw(), DD_OK);
    EXPECT_EQ(NonZeroPixels(), 0);
}

INSTANTIATE_TEST_SUITE_P(Positions, SpriteRefused,
                         ::testing::Values(RefusedCase{"NegativeX", -1, 50},
                                           RefusedCase{"NegativeY", 50, -1},
                                           RefusedCase{"BottomPastDisplay", 50, kHeight - 14},
                                           RefusedCase{"XAtWidth", kWidth, 50},
                                           RefusedCase{"FarLeft", -2000000000, 50}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(SpriteOnDisplay, BottomEdgeAtTheDisplayIsDrawn) {
    LoadSolidBall();
    sprite.x = 10;
    sprite.y = kHeight - 15;
    EXPECT_EQ(sprite.Draw(), DD_OK);
    EXPECT_EQ(InkedArea().bottom, kHeight);
}

// The real sprite images: loaded from this program's resources, only their background
// (the top-left colour) is transparent and the last column and row never show.
struct SpriteImage {
    int id;
    int width;
    int height;
};

class SpriteResource : public SpriteOnDisplay, public ::testing::WithParamInterface<SpriteImage> {};

TEST_P(SpriteResource, OnlyTheBackgroundIsTransparent) {
    const SpriteImage& image = GetParam();
    ASSERT_TRUE(sprite.Load(MAKEINTRESOURCEA(image.id), true)) << "bitmap " << image.id;
    EXPECT_EQ(sprite.lastColumn, image.width - 1);
    EXPECT_EQ(sprite.lastRow, image.height - 1);

    // The original picture, as GDI reads the resource.
    auto* bitmap =
        static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(image.id),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    HDC memoryDc = CreateCompatibleDC(nullptr);
    SelectObject(memoryDc, bitmap);
    const COLORREF background = GetPixel(memoryDc, 0, 0);

    const DWORD underneath = present_test::PixelValueOf(screen.backSurface, RGB(1, 2, 3));
    present_test::Fill(screen.backSurface, underneath);
    sprite.x = 0;
    sprite.y = 0;
    ASSERT_EQ(sprite.Draw(), DD_OK);
    const auto drawn = ReadAllPixels(screen.backSurface);

    int transparent = 0;
    for (int row = 0; row < image.height; ++row) {
        for (int column = 0; column < image.width; ++column) {
            const bool isBackground = GetPixel(memoryDc, column, row) == background;
            const bool edge = column == image.width - 1 || row == image.height - 1;
            const bool showsUnderneath = drawn.at(column, row) == underneath;
            EXPECT_EQ(showsUnderneath, isBackground || edge)
                << "bitmap " << image.id << " at " << column << ", " << row;
            transparent += isBackground && !edge ? 1 : 0;
        }
    }
    EXPECT_GT(transparent, 0);
    EXPECT_LT(transparent, (image.width - 1) * (image.height - 1));
    DeleteDC(memoryDc);
    DeleteObject(bitmap);
}

INSTANTIATE_TEST_SUITE_P(Bitmaps, SpriteResource,
                         ::testing::Values(SpriteImage{IDB_BALL0, 16, 16},
                                           SpriteImage{IDB_BALL1, 16, 16},
                                           SpriteImage{IDB_LOGO, 256, 128},
                                           SpriteImage{IDB_PANEL, 256, 128}));

TEST_F(SpriteOnDisplay, SecondLoadReleasesTheFirstSurface) {
    ASSERT_TRUE(sprite.Load(MAKEINTRESOURCEA(IDB_LOGO), true));
    IDirectDrawSurface* first = sprite.surface;
    first->AddRef();
    ASSERT_TRUE(sprite.Load(MAKEINTRESOURCEA(IDB_BALL0), true));
    EXPECT_NE(sprite.surface, nullptr);
    EXPECT_EQ(sprite.lastColumn, 15);
    // Our reference is the only one left.
    EXPECT_EQ(first->Release(), 0u);
}

// A failed load leaves the sprite without a surface, and Release (twice) stays harmless.
TEST_F(SpriteOnDisplay, FailedLoadsLeaveNothingToDrawAndStayReleasable) {
    ASSERT_TRUE(sprite.Load(MAKEINTRESOURCEA(IDB_BALL0), true));

    // No such bitmap: the earlier size stays.
    EXPECT_FALSE(sprite.Load(MAKEINTRESOURCEA(9999), true));
    EXPECT_EQ(sprite.surface, nullptr);
    EXPECT_EQ(sprite.lastColumn, 15);
    EXPECT_FALSE(sprite.Load("no such file.bmp", false));
    EXPECT_EQ(sprite.surface, nullptr);

    // No DirectDraw object to make the surface: the new size is already taken.
    Display idle;
    Sprite unready{&idle};
    EXPECT_FALSE(unready.Load(MAKEINTRESOURCEA(IDB_LOGO), true));
    EXPECT_EQ(unready.surface, nullptr);
    EXPECT_EQ(unready.lastColumn, 255);
    EXPECT_EQ(unready.lastRow, 127);
    EXPECT_NE(unready.Draw(), DD_OK);
    Sprite detached;
    EXPECT_FALSE(detached.Load(MAKEINTRESOURCEA(IDB_BALL1), true));
    EXPECT_NE(detached.Draw(), DD_OK);

    EXPECT_NE(sprite.Draw(), DD_OK);
    EXPECT_EQ(NonZeroPixels(), 0);
    sprite.Release();
    sprite.Release();
    unready.Release();
}

}  // namespace
