#pragma once

// Reads a device-independent bitmap (a BITMAPINFOHEADER, its palette and bottom-up rows), as
// held by a .bmp file after its 14-byte file header or by a bitmap resource. Checks nothing
// itself: the tests compare the fields.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

struct DibColour {
    int r;
    int g;
    int b;
    friend bool operator==(const DibColour&, const DibColour&) = default;
};

inline std::uint32_t ReadLe32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) |
           (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[at + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

inline std::uint16_t ReadLe16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

class DibView {
  public:
    explicit DibView(std::span<const std::uint8_t> dib) : dib_(dib) {}

    std::uint32_t HeaderSize() const { return ReadLe32(dib_, 0); }
    std::int32_t Width() const { return static_cast<std::int32_t>(ReadLe32(dib_, 4)); }
    std::int32_t Height() const { return static_cast<std::int32_t>(ReadLe32(dib_, 8)); }
    int Planes() const { return ReadLe16(dib_, 12); }
    int BitsPerPixel() const { return ReadLe16(dib_, 14); }
    std::uint32_t Compression() const { return ReadLe32(dib_, 16); }
    std::uint32_t ColoursUsed() const { return ReadLe32(dib_, 32); }

    // Entries in the palette: biClrUsed, or the full 2^bits when it is 0 (up to 8 bits).
    std::size_t PaletteEntries() const {
        if (BitsPerPixel() > 8) {
            return ColoursUsed();
        }
        return ColoursUsed() != 0 ? ColoursUsed() : (std::size_t{1} << BitsPerPixel());
    }
    std::size_t RowBytes() const {
        return (static_cast<std::size_t>(Width()) * static_cast<std::size_t>(BitsPerPixel()) + 31) /
               32 * 4;
    }
    std::size_t ExpectedSize() const {
        return HeaderSize() + PaletteEntries() * 4 +
               RowBytes() * static_cast<std::size_t>(Height());
    }

    DibColour PaletteColour(std::size_t index) const {
        const std::size_t at = HeaderSize() + index * 4;
        return {dib_[at + 2], dib_[at + 1], dib_[at]};
    }

    // Palette index of a pixel of an 8-bit image; (0, 0) is the top-left pixel.
    int Index(int x, int y) const { return dib_[PixelOffset(x, y)]; }

    DibColour Pixel(int x, int y) const {
        const std::size_t at = PixelOffset(x, y);
        if (BitsPerPixel() == 8) {
            return PaletteColour(dib_[at]);
        }
        return {dib_[at + 2], dib_[at + 1], dib_[at]};
    }

  private:
    std::size_t PixelOffset(int x, int y) const {
        const std::size_t row = static_cast<std::size_t>(Height() - 1 - y);
        return HeaderSize() + PaletteEntries() * 4 + row * RowBytes() +
               static_cast<std::size_t>(x * BitsPerPixel() / 8);
    }

    std::span<const std::uint8_t> dib_;
};

// A colour as a 16-bit surface holds it, by truncation or by rounding of each channel.
inline std::uint32_t Reduce(DibColour c, int greenBits, bool rounding) {
    auto channel = [rounding](int value, int bits) {
        const int levels = (1 << bits) - 1;
        return static_cast<std::uint32_t>(rounding ? (value * levels + 127) / 255
                                                   : value >> (8 - bits));
    };
    return (channel(c.r, 5) << (5 + greenBits)) | (channel(c.g, greenBits) << 5) | channel(c.b, 5);
}

// True when the colour becomes the key's value on a 5-6-5 or 5-5-5 surface.
inline bool SameOn16BitSurface(DibColour colour, DibColour key) {
    for (int greenBits : {6, 5}) {
        for (bool rounding : {false, true}) {
            if (Reduce(colour, greenBits, rounding) == Reduce(key, greenBits, rounding)) {
                return true;
            }
        }
    }
    return false;
}

// The bitmap of a .bmp file, after its 14-byte file header.
inline DibView FileDib(std::span<const std::uint8_t> file) {
    return DibView(file.subspan(14));
}
