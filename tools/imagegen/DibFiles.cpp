#include "DibFiles.h"

#include <cstddef>

namespace {

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kFileHeaderSize = 14;

void Put16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFFu));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFFu));
}

void Put32(Bytes& out, std::uint32_t value) {
    Put16(out, value & 0xFFFFu);
    Put16(out, value >> 16);
}

std::uint32_t RowBytes(int width, int bitsPerPixel) {
    const auto bits = static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(bitsPerPixel);
    return (bits + 31u) / 32u * 4u;
}

void PutInfoHeader(Bytes& out, int width, int height, int bitsPerPixel, std::uint32_t imageSize,
                   std::uint32_t coloursUsed) {
    Put32(out, kInfoHeaderSize);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));  // Positive: rows stored bottom-up.
    Put16(out, 1);                                   // Planes.
    Put16(out, static_cast<std::uint32_t>(bitsPerPixel));
    Put32(out, 0);  // BI_RGB.
    Put32(out, imageSize);
    Put32(out, 0);  // No resolution.
    Put32(out, 0);
    Put32(out, coloursUsed);
    Put32(out, 0);  // All colours important.
}

void PutPaletteEntry(Bytes& out, Color8 colour) {
    out.push_back(colour.b);
    out.push_back(colour.g);
    out.push_back(colour.r);
    out.push_back(0);
}

void PutFileHeader(Bytes& out, std::uint32_t fileSize, std::uint32_t pixelOffset) {
    out.push_back('B');
    out.push_back('M');
    Put32(out, fileSize);
    Put32(out, 0);
    Put32(out, pixelOffset);
}

void Pad(Bytes& out, std::size_t rowStart, std::uint32_t rowBytes) {
    while (out.size() - rowStart < rowBytes) {
        out.push_back(0);
    }
}

}  // namespace

Bytes EncodeBitmap8(const IndexedPicture& picture) {
    const std::uint32_t rowBytes = RowBytes(picture.width, 8);
    const std::uint32_t imageSize = rowBytes * static_cast<std::uint32_t>(picture.height);
    const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + 256u * 4u;
    Bytes out;
    PutFileHeader(out, pixelOffset + imageSize, pixelOffset);
    PutInfoHeader(out, picture.width, picture.height, 8, imageSize, 256);
    for (Color8 colour : picture.palette) {
        PutPaletteEntry(out, colour);
    }
    for (int y = picture.height - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < picture.width; ++x) {
            out.push_back(picture.indices[static_cast<std::size_t>(y * picture.width + x)]);
        }
        Pad(out, rowStart, rowBytes);
    }
    return out;
}

Bytes EncodeBitmap24(const std::vector<Color8>& pixels, int width, int height) {
    const std::uint32_t rowBytes = RowBytes(width, 24);
    const std::uint32_t imageSize = rowBytes * static_cast<std::uint32_t>(height);
    const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize;
    Bytes out;
    PutFileHeader(out, pixelOffset + imageSize, pixelOffset);
    PutInfoHeader(out, width, height, 24, imageSize, 0);
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < width; ++x) {
            const Color8 colour = pixels[static_cast<std::size_t>(y * width + x)];
            out.push_back(colour.b);
            out.push_back(colour.g);
            out.push_back(colour.r);
        }
        Pad(out, rowStart, rowBytes);
    }
    return out;
}

Bytes EncodeIconImage(const IconImage& image) {
    const std::uint32_t colourRow = RowBytes(image.size, 4);
    const std::uint32_t maskRow = RowBytes(image.size, 1);
    const auto rows = static_cast<std::uint32_t>(image.size);
    Bytes out;
    PutInfoHeader(out, image.size, image.size * 2, 4, (colourRow + maskRow) * rows, 0);
    for (Color8 colour : image.palette) {
        PutPaletteEntry(out, colour);
    }
    for (int y = image.size - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < image.size; x += 2) {
            const std::size_t at = static_cast<std::size_t>(y * image.size + x);
            out.push_back(static_cast<std::uint8_t>((image.indices[at] << 4) |
                                                    (image.indices[at + 1] & 0x0F)));
        }
        Pad(out, rowStart, colourRow);
    }
    // The AND mask: all zero bits, so every pixel shows its colour.
    out.insert(out.end(), static_cast<std::size_t>(maskRow * rows), 0);
    return out;
}

Bytes EncodeIconFile(const std::vector<IconImage>& images) {
    Bytes out;
    Put16(out, 0);  // Reserved.
    Put16(out, 1);  // Icon.
    Put16(out, static_cast<std::uint32_t>(images.size()));
    std::vector<Bytes> encoded;
    for (const IconImage& image : images) {
        encoded.push_back(EncodeIconImage(image));
    }
    auto offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(images[i].size));
        out.push_back(static_cast<std::uint8_t>(images[i].size));
        out.push_back(16);  // Colours.
        out.push_back(0);
        Put16(out, 1);  // Planes.
        Put16(out, 4);  // Bits per pixel.
        Put32(out, static_cast<std::uint32_t>(encoded[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(encoded[i].size());
    }
    for (const Bytes& image : encoded) {
        out.insert(out.end(), image.begin(), image.end());
    }
    return out;
}
