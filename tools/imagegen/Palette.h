#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "Canvas.h"

// A sprite's background becomes transparent through a colour key taken on a 16-bit surface.
// A colour that differs from the key by at least this much in some channel lands in another
// 5-bit (and 6-bit) step whether the reduction truncates or rounds.
constexpr int kKeySeparation = 9;

// True when the colour is not the key but could become the key's 16-bit value.
bool TooCloseToKey(Color8 colour, Color8 key);

// Moves a colour that is too close to the key out of its reach: a faint one (at most half the
// separation away) becomes the key itself, any other is pushed to the separation distance.
Color8 SeparateFromKey(Color8 colour, Color8 key);

// The same without ever becoming the key: for palette entries.
Color8 PushAwayFromKey(Color8 colour, Color8 key);

// Every pixel of a canvas rounded to 8 bits per channel and separated from the key.
std::vector<Color8> ToKeyedPixels(const Canvas& canvas, Color8 key);

struct IndexedPicture {
    int width;
    int height;
    std::array<Color8, 256> palette;    // Entry 0 is the key; unused entries are black.
    std::vector<std::uint8_t> indices;  // Top row first.
};

// Reduces the pixels to at most 256 colours: the key exactly (entry 0), the rest by median cut
// refined with a few rounds of nearest-mean clustering. Deterministic for the same input.
IndexedPicture Quantize(const std::vector<Color8>& pixels, int width, int height, Color8 key);
