#include <cmath>

#include "Palette.h"
#include "Pictures.h"
#include "StrokeFont.h"

namespace {

constexpr int kWidth = 256;
constexpr int kHeight = 128;

// Upper edge of the band: from the bottom-left corner up to the upper right, with two swells.
double EdgeY(double x) {
    const double t = x / (kWidth - 1.0);
    const double rise = 0.45 * t + 0.55 * t * (2.0 - t);  // Steeper at first, then levelling.
    return 127.0 - 100.0 * rise - 7.0 * Sine(3.0 * kPi * t) * t;
}

double EdgeSlope(double x) {
    return EdgeY(x + 0.5) - EdgeY(x - 0.5);
}

// Signed distance to the band (negative inside, below the edge): the vertical distance scaled
// by the edge's slope.
double BandDistance(double x, double y) {
    const double slope = EdgeSlope(x);
    return (EdgeY(x) - y) / std::sqrt(1.0 + slope * slope);
}

}  // namespace

std::vector<Color8> DrawLogo() {
    Canvas canvas(kWidth, kHeight, ToRgb(kLogoKey));
    const Rgb deepBlue{6.0, 12.0, 58.0};
    const Rgb bandBlue{22.0, 40.0, 128.0};
    const Rgb crest{110.0, 150.0, 240.0};
    const Rgb ribbon{60.0, 100.0, 215.0};
    // The band stays off the last row and column, which are never drawn.
    for (int y = 0; y < kHeight - 1; ++y) {
        for (int x = 0; x < kWidth - 1; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            const double below = BandDistance(px, py);
            const double inBand = CoverageFromDistance(below);
            // A thin ribbon rides a few pixels above the band, tapering to a rounded tip on
            // the left.
            constexpr double kRibbonTip = 40.0;
            const double ribbonWidth = 0.7 + 0.8 * SmoothStep(kRibbonTip, 150.0, px);
            const double across = below - 6.5;
            const double along = std::fmin(0.0, px - kRibbonTip);
            const double inRibbon =
                CoverageFromDistance(std::sqrt(across * across + along * along) - ribbonWidth);
            const double coverage = inBand + inRibbon;
            if (coverage <= 0.0) {
                continue;
            }
            // The band darkens with depth below its edge; a lit crest runs along the top.
            const double depth = SmoothStep(0.0, 70.0, -below);
            Rgb colour = Mix(bandBlue, deepBlue, depth);
            const double crestLight = CoverageFromDistance(std::fabs(below + 1.8) - 1.0);
            colour = Mix(colour, crest, 0.8 * crestLight * inBand);
            if (inRibbon > 0.0) {
                colour = inBand > 0.0 ? colour : ribbon;
            }
            // The lit crest borders the outline, so mixing the rim with the background reads
            // as anti-aliasing both in the picture and over the dark scene.
            canvas.Blend(x, y, colour, coverage);
        }
    }
    // Lettering with a drop shadow, slanted to follow the rise of the wave.
    const TextStyle style{2.3, 1.3, 0.22};
    const TextBox box{104.0, 80.0, 246.0, 106.0};
    const TextShape shadow(
        "ZEMLAR", {box.left + 2.0, box.top + 2.0, box.right + 2.0, box.bottom + 2.0}, style);
    DrawText(canvas, shadow, {2.0, 4.0, 24.0}, 0.85);
    const TextShape letters("ZEMLAR", box, style);
    DrawText(canvas, letters, {236.0, 242.0, 255.0});
    return Finish(canvas, kLogoKey);
}
