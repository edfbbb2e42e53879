#include "raster/SpriteImages.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "raster/BitmapDecode.h"
#include "raster/ball_blue_bmp.inc"
#include "raster/ball_white_bmp.inc"
#include "raster/logo_bmp.inc"
#include "raster/panel_bmp.inc"

namespace {

template <const unsigned char* kFile, std::size_t kSize>
struct Decoded {
    static constexpr bitmap::Layout kLayout = bitmap::ReadLayout(kFile, kSize);
    static_assert(kLayout.valid, "a sprite picture is not an uncompressed 8- or 24-bit bitmap");
    static constexpr std::array kPixels =
        bitmap::KeyedPixels<static_cast<std::size_t>(kLayout.width* kLayout.height)>(kFile, kSize);
    static constexpr SpriteImage Image() { return {kLayout.width, kLayout.height, kPixels.data()}; }
};

using BallBlue = Decoded<kBallBlueBmp, sizeof kBallBlueBmp>;
using BallWhite = Decoded<kBallWhiteBmp, sizeof kBallWhiteBmp>;
using Logo = Decoded<kLogoBmp, sizeof kLogoBmp>;
using Panel = Decoded<kPanelBmp, sizeof kPanelBmp>;

constexpr SpriteImage kImages[] = {BallBlue::Image(), BallWhite::Image(), Logo::Image(),
                                   Panel::Image()};

}  // namespace

const SpriteImage& ImageOf(SceneSprite sprite) {
    return kImages[static_cast<std::size_t>(sprite)];
}
