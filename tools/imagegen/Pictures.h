#pragma once

#include <vector>

#include "Canvas.h"
#include "DibFiles.h"

// Flat background colours, which the sprites' colour key turns transparent.
constexpr Color8 kBlueBallKey{250, 251, 251};
constexpr Color8 kWhiteBallKey{0, 0, 0};
constexpr Color8 kLogoKey{170, 191, 170};
constexpr Color8 kPanelKey{90, 93, 217};

// Shading of a sphere lit from the upper left and the front.
struct SphereLook {
    Rgb shadow;        // Colour where the light does not reach.
    Rgb body;          // Colour facing the light.
    Rgb highlight;     // Colour of the glint.
    double glintSize;  // Larger is a smaller, sharper glint.
};

// Colour of a sphere at a point of its disc given relative to the centre in radii
// (nx, ny inside the unit disc; y downwards).
Rgb ShadeSphere(const SphereLook& look, double nx, double ny);

SphereLook BlueBallLook();
SphereLook WhiteBallLook();

// The pictures as they go into the resource files. Each sprite picture already obeys the
// colour-key rules: flat key at the top-left, key-only last row and column, no other colour
// within reach of the key.
std::vector<Color8> DrawBlueBall();     // 16 x 16.
std::vector<Color8> DrawWhiteBall();    // 16 x 16.
std::vector<Color8> DrawCubePicture();  // 106 x 111.
std::vector<Color8> DrawLogo();         // 256 x 128.
std::vector<Color8> DrawPanel();        // 256 x 128.
IconImage DrawLargeIcon();              // 32 x 32.
IconImage DrawSmallIcon();              // 16 x 16.

// Row-major pixels of a canvas, rounded and separated from the key.
std::vector<Color8> Finish(const Canvas& canvas, Color8 key);
