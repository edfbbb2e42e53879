#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "Palette.h"
#include "tests/res/DibView.h"

namespace {

std::vector<std::uint8_t> ReadCommitted(const std::string& name) {
    std::ifstream in(std::string(ZEMLAR_RES_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The icon file that the resource compiler splits into images 1 and 2 of group 101.
TEST(IconFile, HoldsTheLargeThenTheSmallSixteenColourImage) {
    const std::vector<std::uint8_t> file = ReadCommitted("zemlar.ico");
    ASSERT_GE(file.size(), 6u + 2 * 16);
    EXPECT_EQ(ReadLe16(file, 0), 0);
    EXPECT_EQ(ReadLe16(file, 2), 1);
    ASSERT_EQ(ReadLe16(file, 4), 2);
    struct Expected {
        int size;
        std::uint32_t bytes;
    };
    const Expected expected[] = {{32, 744}, {16, 296}};
    std::size_t total = 6 + 2 * 16;
    for (std::size_t i = 0; i < 2; ++i) {
        const std::size_t entry = 6 + i * 16;
        const Expected& e = expected[i];
        EXPECT_EQ(file[entry], e.size);
        EXPECT_EQ(file[entry + 1], e.size);
        EXPECT_EQ(file[entry + 2], 16);  // Colours.
        EXPECT_EQ(ReadLe16(file, entry + 4), 1);
        EXPECT_EQ(ReadLe16(file, entry + 6), 4);
        ASSERT_EQ(ReadLe32(file, entry + 8), e.bytes);
        const std::uint32_t offset = ReadLe32(file, entry + 12);
        ASSERT_EQ(offset, total);
        total += e.bytes;
        ASSERT_LE(total, file.size());

        const DibView image{std::span<const std::uint8_t>(file).subspan(offset, e.bytes)};
        EXPECT_EQ(image.Width(), e.size);
        EXPECT_EQ(image.Height(), 2 * e.size);  // Colour bitmap and mask.
        EXPECT_EQ(image.BitsPerPixel(), 4);
        EXPECT_EQ(image.PaletteEntries(), 16u);
        // The mask follows the colour rows; all zero bits, so the icon is fully opaque.
        const std::size_t colourBytes =
            40 + 16 * 4 + image.RowBytes() * static_cast<std::size_t>(e.size);
        for (std::size_t at = colourBytes; at < e.bytes; ++at) {
            EXPECT_EQ(file[offset + at], 0) << "mask byte " << at - colourBytes;
        }
    }
    EXPECT_EQ(total, file.size());
}

struct SeparationCase {
    Color8 colour;
    Color8 expected;
};

// Colours within reach of the key either become the key (too faint to keep) or are pushed just
// out of reach; others stay. A key at the top of a channel pushes downwards.
TEST(KeySeparation, FaintColoursJoinTheKeyOthersAreMovedOutOfReach) {
    const Color8 key{90, 93, 217};
    const SeparationCase cases[] = {
        {{90, 93, 217}, {90, 93, 217}}, {{92, 91, 219}, {90, 93, 217}},
        {{85, 93, 217}, {81, 93, 217}}, {{90, 93, 224}, {90, 93, 226}},
        {{99, 93, 217}, {99, 93, 217}}, {{0, 0, 0}, {0, 0, 0}},
    };
    for (const SeparationCase& c : cases) {
        const Color8 result = SeparateFromKey(c.colour, key);
        EXPECT_EQ(result, c.expected)
            << int{c.colour.r} << "," << int{c.colour.g} << "," << int{c.colour.b};
    }
    EXPECT_EQ(PushAwayFromKey({255, 255, 255}, {250, 251, 251}), (Color8{241, 255, 255}));
    EXPECT_EQ(PushAwayFromKey({92, 91, 219}, key), (Color8{99, 91, 219}));
}

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

// Few enough colours are kept exactly.
TEST(Quantize, KeepsASmallPictureExact) {
    const Color8 key{250, 251, 251};
    const std::vector<Color8> pixels{key, {10, 20, 30}, {200, 100, 50}, {10, 20, 30}};
    const IndexedPicture picture = Quantize(pixels, 2, 2, key);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        EXPECT_EQ(picture.palette[picture.indices[i]], pixels[i]) << i;
    }
}

}  // namespace
