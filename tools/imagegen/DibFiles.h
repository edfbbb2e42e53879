#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "Canvas.h"
#include "Palette.h"

using Bytes = std::vector<std::uint8_t>;

// A .bmp file: file header, 40-byte BITMAPINFOHEADER, palette, bottom-up rows padded to
// 4 bytes. The resource compiler drops the 14-byte file header.
Bytes EncodeBitmap8(const IndexedPicture& picture);
Bytes EncodeBitmap24(const std::vector<Color8>& pixels, int width, int height);

// One 16-colour icon image: the colour bitmap of 4 bits per pixel and its 1-bit mask, stored as
// one DIB of twice the icon's height. Every pixel is opaque.
struct IconImage {
    int size;  // Width and height.
    std::array<Color8, 16> palette;
    std::vector<std::uint8_t> indices;  // Top row first, one palette index per pixel.
};

Bytes EncodeIconImage(const IconImage& image);

// A .ico file holding the images in the given order.
Bytes EncodeIconFile(const std::vector<IconImage>& images);
