#include <cstddef>

#include "Pictures.h"
#include "StrokeFont.h"

namespace {

// The sixteen colours of the standard VGA palette, in its usual order.
constexpr std::array<Color8, 16> kVgaPalette{{{0, 0, 0},
                                              {128, 0, 0},
                                              {0, 128, 0},
                                              {128, 128, 0},
                                              {0, 0, 128},
                                              {128, 0, 128},
                                              {0, 128, 128},
                                              {192, 192, 192},
                                              {128, 128, 128},
                                              {255, 0, 0},
                                              {0, 255, 0},
                                              {255, 255, 0},
                                              {0, 0, 255},
                                              {255, 0, 255},
                                              {0, 255, 255},
                                              {255, 255, 255}}};

enum class Vga : std::uint8_t {
    kBlack = 0,
    kDarkGreen = 2,
    kDarkBlue = 4,
    kLightGrey = 7,
    kDarkGrey = 8,
    kBlue = 12,
    kWhite = 15,
};

class IconPainter {
  public:
    explicit IconPainter(int size)
        : image_{size, kVgaPalette,
                 std::vector<std::uint8_t>(static_cast<std::size_t>(size * size),
                                           static_cast<std::uint8_t>(Vga::kLightGrey))} {}

    void Set(int x, int y, Vga colour) {
        if (x >= 0 && y >= 0 && x < image_.size && y < image_.size) {
            image_.indices[static_cast<std::size_t>(y * image_.size + x)] =
                static_cast<std::uint8_t>(colour);
        }
    }

    // A grey tile with a raised edge: lit on the top and left, shaded and outlined in black
    // on the bottom and right.
    void Tile(int bevel) {
        const int last = image_.size - 1;
        for (int i = 0; i <= last; ++i) {
            Set(i, last, Vga::kBlack);
            Set(last, i, Vga::kBlack);
        }
        for (int b = 0; b < bevel; ++b) {
            for (int i = b; i < last - b; ++i) {
                Set(i, b, Vga::kWhite);
                Set(b, i, Vga::kWhite);
                Set(i, last - 1 - b, Vga::kDarkGrey);
                Set(last - 1 - b, i, Vga::kDarkGrey);
            }
        }
    }

    // Lettering from the stroke font, hard-edged since sixteen colours leave no room for
    // anti-aliasing.
    void Text(const TextShape& text, Vga colour) {
        for (int y = 0; y < image_.size; ++y) {
            for (int x = 0; x < image_.size; ++x) {
                if (text.Distance(x + 0.5, y + 0.5) < 0.0) {
                    Set(x, y, colour);
                }
            }
        }
    }

    IconImage Image() const { return image_; }

  private:
    IconImage image_;
};

}  // namespace

IconImage DrawLargeIcon() {
    IconPainter painter(32);
    painter.Tile(2);
    // A small grid of dark-blue dots with a lit corner each: the balls of the cube.
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            const int x = 6 + column * 6;
            const int y = 5 + row * 5;
            painter.Set(x, y, Vga::kBlue);
            painter.Set(x + 1, y, Vga::kDarkBlue);
            painter.Set(x, y + 1, Vga::kDarkBlue);
            painter.Set(x + 1, y + 1, Vga::kDarkBlue);
        }
    }
    painter.Text(TextShape("ZEM", {5.0, 20.0, 27.0, 28.0}, {0.6, 1.4, 0.0}), Vga::kDarkGreen);
    return painter.Image();
}

IconImage DrawSmallIcon() {
    IconPainter painter(16);
    painter.Tile(1);
    painter.Text(TextShape("Z", {3.5, 3.0, 11.5, 12.0}, {1.0, 0.0, 0.0}), Vga::kDarkBlue);
    return painter.Image();
}
