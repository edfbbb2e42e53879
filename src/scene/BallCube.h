#pragma once

#include <cstdint>

// The largest cube the scene builds: 1,000,000 balls, two arrays of 40 MB. A screen of
// 1024 x 768 holds about 3,000 non-overlapping 16 x 16 balls, so a bigger cube only shows a
// solid block while each frame sorts and draws millions of sprites; and the arrays must stay
// well inside a 32-bit address space.
inline constexpr std::int32_t kMaxBallsPerLine = 100;

// Builds the cube of n x n x n balls into freshly allocated modelPoints and viewPoints (any
// earlier arrays are freed first). Points run x fastest, then y, then z, 16 units apart and
// centred on the origin; the sprite alternates with the position's parity.
// For n <= 0, for n above kMaxBallsPerLine, or when the memory cannot be had, the scene has no
// balls: pointCount is 0 and both arrays are null.
void BuildBallCube(std::int32_t n);
