// The committed pictures: that the generator still draws them byte for byte, and that each
// has the size, depth, palette and background that the program relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "ResourceFiles.h"
#include "tests/res/DibView.h"

namespace {

std::vector<std::uint8_t> ReadCommitted(const std::string& name) {
    std::ifstream in(std::string(ZEMLAR_RES_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct BitmapCase {
    const char* file;
    int width;
    int height;
    int bitsPerPixel;
    DibColour topLeft;
};

constexpr BitmapCase kBitmaps[] = {
    {"ball_blue.bmp", 16, 16, 8, {250, 251, 251}},
    {"ball_white.bmp", 16, 16, 24, {0, 0, 0}},
    {"logo.bmp", 256, 128, 8, {170, 191, 170}},
    {"panel.bmp", 256, 128, 8, {90, 93, 217}},
    // Shown as it is in the dialog, without a colour key.
    {"dialog_picture.bmp", 106, 111, 24, {0, 0, 0}},
};
// The first four are sprites: drawn with their top-left colour as a transparent key.
constexpr std::size_t kSpriteCount = 4;

class CommittedBitmap : public testing::TestWithParam<BitmapCase> {
  protected:
    void SetUp() override {
        file_ = ReadCommitted(GetParam().file);
        ASSERT_GT(file_.size(), 54u) << GetParam().file;
        ASSERT_EQ(file_[0], 'B');
        ASSERT_EQ(file_[1], 'M');
        ASSERT_EQ(ReadLe32(file_, 2), file_.size());
        ASSERT_EQ(ReadLe32(file_, 10), 14u + dib().HeaderSize() + dib().PaletteEntries() * 4);
    }
    DibView dib() const { return FileDib(file_); }

    std::vector<std::uint8_t> file_;
};

TEST(GeneratedImages, MatchCommittedFilesByteForByte) {
    const std::vector<ResourceFile> files = GenerateResourceFiles();
    ASSERT_EQ(files.size(), 6u);
    for (const ResourceFile& file : files) {
        const std::vector<std::uint8_t> committed = ReadCommitted(file.name);
        ASSERT_EQ(committed.size(), file.bytes.size()) << file.name;
        const auto mismatch = std::mismatch(committed.begin(), committed.end(), file.bytes.begin());
        EXPECT_TRUE(mismatch.first == committed.end())
            << file.name << " differs at byte " << (mismatch.first - committed.begin())
            << "; run the regenerate_resources target and commit the pictures";
    }
}

TEST_P(CommittedBitmap, HasItsSizeDepthAndPalette) {
    const BitmapCase& c = GetParam();
    const DibView view = dib();
    EXPECT_EQ(view.HeaderSize(), 40u);
    EXPECT_EQ(view.Width(), c.width);
    EXPECT_EQ(view.Height(), c.height);  // Positive: bottom-up rows.
    EXPECT_EQ(view.Planes(), 1);
    EXPECT_EQ(view.BitsPerPixel(), c.bitsPerPixel);
    EXPECT_EQ(view.Compression(), 0u);
    EXPECT_EQ(view.PaletteEntries(), c.bitsPerPixel == 8 ? 256u : 0u);
    EXPECT_EQ(file_.size() - 14, view.ExpectedSize());
    EXPECT_EQ(view.Pixel(0, 0), c.topLeft);
}

using SpriteBitmap = CommittedBitmap;

TEST_P(SpriteBitmap, BackgroundIsTheOnlyKeyedColour) {
    const BitmapCase& c = GetParam();
    const DibView view = dib();
    const DibColour key = view.Pixel(0, 0);
    int shapePixels = 0;
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            const DibColour colour = view.Pixel(x, y);
            if (x == c.width - 1 || y == c.height - 1) {
                EXPECT_EQ(colour, key) << "edge pixel " << x << "," << y;
            } else if (colour != key) {
                ++shapePixels;
                EXPECT_FALSE(SameOn16BitSurface(colour, key))
                    << "pixel " << x << "," << y << " turns transparent";
            }
        }
    }
    EXPECT_GT(shapePixels, c.width * c.height / 8);
    if (c.bitsPerPixel == 8) {
        // The key has one palette entry, so a palette-based key match has nothing else to hit.
        for (std::size_t i = 0; i < 256; ++i) {
            if (static_cast<int>(i) != view.Index(0, 0)) {
                EXPECT_FALSE(SameOn16BitSurface(view.PaletteColour(i), key)) << "entry " << i;
            }
        }
    }
}

std::string CaseName(const testing::TestParamInfo<BitmapCase>& param) {
    std::string name = param.param.file;
    name.resize(name.find('.'));
    return name;
}

INSTANTIATE_TEST_SUITE_P(Resources, CommittedBitmap, testing::ValuesIn(kBitmaps), CaseName);
INSTANTIATE_TEST_SUITE_P(Resources, SpriteBitmap,
                         testing::ValuesIn(std::begin(kBitmaps),
                                           std::begin(kBitmaps) + kSpriteCount),
                         CaseName);

// The balls fill exactly the pixels the sprite code expects: 1..14 for the blue ball (an
// outline of background all round), 0..14 for the white one.
TEST(BallImages, FillTheirStatedPixelRange) {
    struct Case {
        const char* file;
        int first;
        int last;
    };
    for (const Case& c : {Case{"ball_blue.bmp", 1, 14}, Case{"ball_white.bmp", 0, 14}}) {
        const std::vector<std::uint8_t> file = ReadCommitted(c.file);
        const DibView view = FileDib(file);
        const DibColour key = view.Pixel(0, 0);
        int minX = 16, maxX = -1, minY = 16, maxY = -1;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                if (view.Pixel(x, y) != key) {
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                    minY = std::min(minY, y);
                    maxY = std::max(maxY, y);
                }
            }
        }
        EXPECT_EQ(minX, c.first) << c.file;
        EXPECT_EQ(maxX, c.last) << c.file;
        EXPECT_EQ(minY, c.first) << c.file;
        EXPECT_EQ(maxY, c.last) << c.file;
    }
}

int Brightness(DibColour c) {
    return (c.r * 3 + c.g * 6 + c.b) / 10;
}

struct Extent {
    int left = 1000, top = 1000, right = -1, bottom = -1;
};

// Bounds of the lettering (pixels brighter than the plate) inside a search window.
Extent LightPixels(const DibView& view, int x0, int y0, int x1, int y1, int threshold) {
    Extent e;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            if (Brightness(view.Pixel(x, y)) > threshold) {
                e.left = std::min(e.left, x);
                e.right = std::max(e.right, x);
                e.top = std::min(e.top, y);
                e.bottom = std::max(e.bottom, y);
            }
        }
    }
    return e;
}

// The title and the frame-rate label sit where the frame's text placement expects them, and
// the figure written at (95, 32) in black lands on a light field.
TEST(PanelImage, LetteringAndReadoutAreWhereTheFrameTextGoes) {
    const std::vector<std::uint8_t> file = ReadCommitted("panel.bmp");
    const DibView view = FileDib(file);
    struct Lettering {
        Extent window;    // Where to look.
        Extent expected;  // Where the lettering is.
    };
    for (const Lettering& l : {Lettering{{20, 6, 200, 27}, {37, 12, 173, 24}},
                               Lettering{{20, 31, 88, 52}, {35, 36, 87, 46}}}) {
        const Extent found =
            LightPixels(view, l.window.left, l.window.top, l.window.right, l.window.bottom, 150);
        EXPECT_NEAR(found.left, l.expected.left, 2);
        EXPECT_NEAR(found.top, l.expected.top, 2);
        EXPECT_NEAR(found.right, l.expected.right, 2);
        EXPECT_NEAR(found.bottom, l.expected.bottom, 2);
    }
    // The system font's figures cover about 16 pixels down from y 32, a few digits wide.
    for (int y = 32; y < 48; ++y) {
        for (int x = 95; x < 165; ++x) {
            EXPECT_GT(Brightness(view.Pixel(x, y)), 150) << x << "," << y;
        }
    }
}

}  // namespace
