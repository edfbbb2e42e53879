#include "ResourceFiles.h"

#include "Palette.h"
#include "Pictures.h"

std::vector<ResourceFile> GenerateResourceFiles() {
    constexpr int kBallSize = 16;
    constexpr int kSpriteWidth = 256;
    constexpr int kSpriteHeight = 128;
    return {
        {"ball_blue.bmp",
         EncodeBitmap8(Quantize(DrawBlueBall(), kBallSize, kBallSize, kBlueBallKey))},
        {"ball_white.bmp", EncodeBitmap24(DrawWhiteBall(), kBallSize, kBallSize)},
        {"dialog_picture.bmp", EncodeBitmap24(DrawCubePicture(), 106, 111)},
        {"logo.bmp", EncodeBitmap8(Quantize(DrawLogo(), kSpriteWidth, kSpriteHeight, kLogoKey))},
        {"panel.bmp", EncodeBitmap8(Quantize(DrawPanel(), kSpriteWidth, kSpriteHeight, kPanelKey))},
        {"zemlar.ico", EncodeIconFile({DrawLargeIcon(), DrawSmallIcon()})},
    };
}
