// The software renderer: the sprite rules of the Windows display, the compiled-in pictures and
// the frame-rate digits, on frames in memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "raster/BitmapDecode.h"
#include "raster/Canvas.h"
#include "raster/SpriteImages.h"
#include "tests/present/SpriteDrawCases.h"

namespace {

constexpr int kWidth = kCaseWidth;
constexpr int kHeight = kCaseHeight;
constexpr std::uint32_t kInk = 0x0080FF;

struct TestFrame {
    explicit TestFrame(std::uint32_t fill = 0, int width = kWidth, int height = kHeight)
        : pixels(static_cast<std::size_t>(width * height), fill),
          frame{pixels.data(), width, height, width} {}
    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y * kWidth + x)];
    }
    std::vector<std::uint32_t> pixels;
    FrameBuffer frame;
};

// The DirectDraw pixel test's cases: a 16 x 16 sprite all ink but its transparent
// top-left pixel, so that the drawn rectangle shows which columns and rows arrive.
TEST(RasterSprite, PutsFifteenByFifteenPixelsClippedOnlyAtTheRightEdge) {
    std::vector<std::uint32_t> ink(16 * 16, kInk | bitmap::kOpaque);
    ink[0] = 0;
    const SpriteImage sprite{16, 16, ink.data()};
    for (const SpriteDrawCase& c : kSpriteDrawCases) {
        TestFrame back;
        EXPECT_EQ(DrawSprite(back.frame, sprite, c.x, c.y), c.drawnWidth > 0)
            << "at " << c.x << ", " << c.y;
        int wrong = 0;
        for (int row = 0; row < kHeight; ++row) {
            for (int column = 0; column < kWidth; ++column) {
                const bool inked = column >= c.x && column < c.x + c.drawnWidth && row >= c.y &&
                                   row < c.y + 15 && (column != c.x || row != c.y);
                wrong += inked != (back.at(column, row) == kInk) ? 1 : 0;
            }
        }
        EXPECT_EQ(wrong, 0) << "at " << c.x << ", " << c.y;
    }
}

// The real pictures: their sizes, a transparent background that includes the last column and
// row, and as many drawn pixels as the files hold colours other than the background's.
TEST(RasterSprite, CompiledPicturesKeepOnlyTheirBackgroundTransparent) {
    const struct {
        SceneSprite sprite;
        int width;
        int height;
        int drawn;
    } pictures[] = {{SceneSprite::Ball0, 16, 16, 164},
                    {SceneSprite::Ball1, 16, 16, 193},
                    {SceneSprite::Logo, 256, 128, 16227},
                    {SceneSprite::Info, 256, 128, 14351}};
    for (const auto& p : pictures) {
        const SpriteImage& image = ImageOf(p.sprite);
        ASSERT_EQ(image.width, p.width);
        ASSERT_EQ(image.height, p.height);
        int drawn = 0;
        int edgeInk = 0;
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x) {
                const bool clear = image.pixels[y * p.width + x] == 0;
                const bool edge = x == p.width - 1 || y == p.height - 1;
                drawn += clear ? 0 : 1;
                edgeInk += !clear && edge ? 1 : 0;
            }
        }
        EXPECT_EQ(image.pixels[0], 0u);
        EXPECT_EQ(edgeInk, 0);
        EXPECT_EQ(drawn, p.drawn);
    }
    // The blue ball's middle is blue, the white ball's light grey to white.
    EXPECT_GT(ImageOf(SceneSprite::Ball0).pixels[8 * 16 + 8] & 0xFF, 0x80u);
    EXPECT_GT(ImageOf(SceneSprite::Ball1).pixels[8 * 16 + 8] >> 16 & 0xFF, 0x80u);
}

// A 3 x 2 bitmap of 24 bits, rows bottom-up and padded to four bytes: the top row is the key
// colour, a colour the 16-bit display reduces to the key's value, and one it does not.
// clang-format off
constexpr unsigned char kTinyBitmap[] = {
    'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // File header.
    40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 24, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 0,   // Bottom row: green.
    16, 32, 64, 19, 35, 71, 16, 32, 72, 0, 0, 0,  // Top row.
};
// clang-format on
constexpr auto kTinyPixels = bitmap::KeyedPixels<6>(kTinyBitmap, sizeof kTinyBitmap);
static_assert(bitmap::ReadLayout(kTinyBitmap, sizeof kTinyBitmap).valid);
static_assert(kTinyPixels[0] == 0 && kTinyPixels[1] == 0, "key and its 16-bit twin are clear");
static_assert(kTinyPixels[2] == (0x482010 | bitmap::kOpaque) &&
              kTinyPixels[3] == (0x00FF00 | bitmap::kOpaque));
static_assert(!bitmap::ReadLayout(kTinyBitmap, sizeof kTinyBitmap - 1).valid, "short file");

// The frame rate in black over whatever is there, only inside its cells, clipped to the frame.
TEST(RasterText, DigitsAreBlackInsideTheirCellsWithTheBackgroundKept) {
    TestFrame white(0xFFFFFF);
    WriteDigits(white.frame, 95, 32, "60", 2);
    int black = 0;
    int wrong = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool inCells = x >= 95 && x < 95 + 16 && y >= 32 && y < 32 + 16;
            black += white.at(x, y) == 0 ? 1 : 0;
            wrong += white.at(x, y) != 0xFFFFFF && (!inCells || white.at(x, y) != 0) ? 1 : 0;
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(black, 82);  // The ink of the two glyphs.
    // At the frame's edges nothing is written outside it.
    TestFrame small(0xFFFFFF, 4, 4);
    WriteDigits(small.frame, -3, -5, "8888", 4);
    WriteDigits(small.frame, 2, 1, "8", 1);
    EXPECT_EQ(std::count(small.pixels.begin(), small.pixels.end(), 0u), 9);
}

}  // namespace
