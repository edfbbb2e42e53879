#pragma once

// Where a 16 x 16 sprite whose top-left pixel is transparent lands on a 320 x 240 back surface,
// and how many of its columns arrive there (0: the draw is refused and nothing shows). The
// DirectDraw sprites and the software renderer are held to these same cases.
struct SpriteDrawCase {
    int x;
    int y;
    int drawnWidth;
};

inline constexpr int kCaseWidth = 320;
inline constexpr int kCaseHeight = 240;
inline constexpr int kCaseFit = kCaseWidth - 15;  // The last x at which the whole sprite fits.
inline constexpr SpriteDrawCase kSpriteDrawCases[] = {
    {40, 30, 15},
    {kCaseFit - 10, 100, 15},
    {kCaseFit, 100, 15},
    {kCaseFit + 1, 100, 14},
    {kCaseFit + 14, 100, 1},
    {kCaseFit + 15, 100, 0},
    {kCaseFit + 16, 100, 0},
    {kCaseWidth, 50, 0},
    {-1, 50, 0},
    {50, -1, 0},
    {-2000000000, 50, 0},
    {50, kCaseHeight - 14, 0},
    {10, kCaseHeight - 15, 15},
    {0, 0, 15},
};
