#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "Palette.h"
#include "tests/res/DibView.h"

namespace {

// Whatever the picture, the key keeps entry 0 alone and no other entry can turn transparent.
TEST(Quantize, KeepsTheKeyAloneAndEveryOtherColourOutOfItsReach) {
    const Color8 key{170, 191, 170};
    std::vector<Color8> pixels;
    for (int i = 0; i < 4096; ++i) {
        // A spread of colours, many of them right next to the key.
        pixels.push_back({static_cast<std::uint8_t>(160 + i % 21),
                          static_cast<std::uint8_t>(180 + (i / 21) % 23),
                          static_cast<std::uint8_t>((i * 37) % 256)});
    }
    pixels.push_back(key);
    const IndexedPicture picture = Quantize(pixels, 4097, 1, key);
    EXPECT_EQ(picture.palette[0], key);
    EXPECT_EQ(picture.indices.back(), 0);
    for (std::size_t i = 0; i + 1 < pixels.size(); ++i) {
        EXPECT_NE(picture.indices[i], 0) << i;
    }
    for (std::size_t i = 1; i < picture.palette.size(); ++i) {
        const Color8 c = picture.palette[i];
        EXPECT_FALSE(SameOn16BitSurface({c.r, c.g, c.b}, {key.r, key.g, key.b})) << i;
    }
}

}  // namespace
