// The committed pictures: the generator still draws them byte for byte, and every sprite obeys
// the background rules the colour key relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ResourceFiles.h"
#include "tests/res/DibView.h"

namespace {

std::vector<std::uint8_t> ReadCommitted(const std::string& name) {
    std::ifstream in(std::string(ZEMLAR_RES_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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

// The background is the top-left colour; the last column and row hold only it, and no other
// colour of the image (nor, for 8 bits, of its palette) becomes it on a 5-6-5 or 5-5-5
// surface. The shape still covers a good part of the image.
TEST(SpriteImages, BackgroundIsTheOnlyKeyedColour) {
    for (const char* name : {"ball_blue.bmp", "ball_white.bmp", "logo.bmp", "panel.bmp"}) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> file = ReadCommitted(name);
        ASSERT_GT(file.size(), 54u);
        const DibView view = FileDib(file);
        ASSERT_EQ(file.size() - 14, view.ExpectedSize());
        const DibColour key = view.Pixel(0, 0);
        int shapePixels = 0;
        for (int y = 0; y < view.Height(); ++y) {
            for (int x = 0; x < view.Width(); ++x) {
                const DibColour colour = view.Pixel(x, y);
                if (x == view.Width() - 1 || y == view.Height() - 1) {
                    EXPECT_EQ(colour, key) << "edge pixel " << x << "," << y;
                } else if (colour != key) {
                    ++shapePixels;
                    EXPECT_FALSE(SameOn16BitSurface(colour, key)) << "pixel " << x << "," << y;
                }
            }
        }
        EXPECT_GT(shapePixels, view.Width() * view.Height() / 8);
        for (std::size_t i = 0; i < view.PaletteEntries(); ++i) {
            if (static_cast<int>(i) != view.Index(0, 0)) {
                EXPECT_FALSE(SameOn16BitSurface(view.PaletteColour(i), key)) << "entry " << i;
            }
        }
    }
}

}  // namespace
