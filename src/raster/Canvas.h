#pragma once

#include <cstdint>

// A frame of 32-bit 0x00RRGGBB pixels owned by whoever shows it (an X image, a test's vector),
// and the drawing the scene needs on it. Nothing here allocates.

struct FrameBuffer {
    std::uint32_t* pixels = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t stride = 0;  // Pixels from one row to the next.
};

// A picture as sprite pixels: colour with the top byte set where it is drawn, 0 where the
// colour key makes it transparent.
struct SpriteImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    const std::uint32_t* pixels = nullptr;
};

// Puts the sprite's top-left corner at (x, y), as the Windows sprites do: the last column and
// row are never drawn, and only the right edge of the frame clips. A sprite that would cross
// the left, top or bottom edge, or that the right edge clips to nothing, is not drawn at all;
// returns whether it was.
bool DrawSprite(const FrameBuffer& frame, const SpriteImage& sprite, std::int32_t x,
                std::int32_t y);

void FillBlack(const FrameBuffer& frame);

// Decimal digits in black with the background left as it is, each in a cell 8 pixels wide and
// 16 high whose top-left corner starts at (x, y); other characters leave their cell empty.
// Clipped to the frame.
void WriteDigits(const FrameBuffer& frame, std::int32_t x, std::int32_t y, const char* text,
                 std::int32_t length);
