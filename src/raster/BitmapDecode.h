#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Reads the sprite pictures' bitmap files while compiling: uncompressed Windows bitmaps of 8
// bits per pixel with a palette or 24 bits per pixel, rows bottom-up or top-down. A file of
// another kind stops the build instead of showing a wrong picture.

namespace bitmap {

struct Layout {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool bottomUp = true;
    std::uint32_t bitsPerPixel = 0;
    std::size_t pixelsAt = 0;
    std::size_t paletteAt = 0;
    std::size_t paletteEntries = 0;
    std::size_t rowBytes = 0;
    bool valid = false;
};

constexpr std::uint32_t ReadLittleEndian(const unsigned char* bytes, std::size_t at,
                                         std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = count; i > 0; --i) {
        value = value << 8 | bytes[at + i - 1];
    }
    return value;
}

constexpr Layout ReadLayout(const unsigned char* file, std::size_t size) {
    constexpr std::size_t kFileHeader = 14;
    constexpr std::size_t kInfoHeader = 40;
    Layout layout;
    if (size < kFileHeader + kInfoHeader || file[0] != 'B' || file[1] != 'M') {
        return layout;
    }
    const std::uint32_t infoSize = ReadLittleEndian(file, 14, 4);
    const auto width = static_cast<std::int32_t>(ReadLittleEndian(file, 18, 4));
    const auto height = static_cast<std::int32_t>(ReadLittleEndian(file, 22, 4));
    const std::uint32_t compression = ReadLittleEndian(file, 30, 4);
    const std::uint32_t coloursUsed = ReadLittleEndian(file, 46, 4);
    layout.bitsPerPixel = ReadLittleEndian(file, 28, 2);
    layout.width = width;
    layout.bottomUp = height > 0;
    layout.height = height > 0 ? height : -height;
    layout.pixelsAt = ReadLittleEndian(file, 10, 4);
    layout.paletteAt = kFileHeader + infoSize;
    layout.paletteEntries = layout.bitsPerPixel == 8 ? (coloursUsed != 0 ? coloursUsed : 256) : 0;
    layout.rowBytes = (static_cast<std::size_t>(width) * layout.bitsPerPixel + 31) / 32 * 4;
    const bool depthKnown = layout.bitsPerPixel == 8 || layout.bitsPerPixel == 24;
    layout.valid = infoSize >= kInfoHeader && compression == 0 && depthKnown && width > 0 &&
                   layout.height > 0 && layout.paletteEntries <= 256 &&
                   layout.paletteAt + layout.paletteEntries * 4 <= size &&
                   layout.pixelsAt + layout.rowBytes * std::size_t(layout.height) <= size;
    return layout;
}

// The colour of pixel (x, y), counted from the top-left corner, as 0x00RRGGBB. Palette
// indices beyond the palette read as black.
constexpr std::uint32_t ColourAt(const unsigned char* file, const Layout& layout, std::int32_t x,
                                 std::int32_t y) {
    const auto row = static_cast<std::size_t>(layout.bottomUp ? layout.height - 1 - y : y);
    const std::size_t line = layout.pixelsAt + row * layout.rowBytes;
    if (layout.bitsPerPixel == 24) {
        return ReadLittleEndian(file, line + std::size_t(x) * 3, 3);
    }
    const std::size_t index = file[line + std::size_t(x)];
    if (index >= layout.paletteEntries) {
        return 0;
    }
    return ReadLittleEndian(file, layout.paletteAt + index * 4, 3);
}

// A colour as the 16-bit 5-6-5 display format of the full-screen saver stores it.
constexpr std::uint32_t Reduced(std::uint32_t colour) {
    return (colour >> 19 & 0x1F) << 11 | (colour >> 10 & 0x3F) << 5 | (colour >> 3 & 0x1F);
}

// Marks a drawn pixel; the key colour's pixels are 0.
inline constexpr std::uint32_t kOpaque = 0xFF000000;

// The picture as sprite pixels, row by row from the top: its colour with kOpaque, or 0 where
// the colour is the key. The key is the top-left colour, compared as the 16-bit display
// compares it, so that a colour that reduces to the key's value is transparent there too.
template <std::size_t kPixels>
constexpr std::array<std::uint32_t, kPixels> KeyedPixels(const unsigned char* file,
                                                         std::size_t size) {
    const Layout layout = ReadLayout(file, size);
    std::array<std::uint32_t, kPixels> pixels{};
    const std::uint32_t key = Reduced(ColourAt(file, layout, 0, 0));
    std::size_t at = 0;
    for (std::int32_t y = 0; y < layout.height; ++y) {
        for (std::int32_t x = 0; x < layout.width; ++x) {
            const std::uint32_t colour = ColourAt(file, layout, x, y);
            pixels[at++] = Reduced(colour) == key ? 0 : (colour | kOpaque);
        }
    }
    return pixels;
}

}  // namespace bitmap
