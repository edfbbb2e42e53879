#include <algorithm>
#include <cmath>

#include "Palette.h"
#include "Pictures.h"
#include "StrokeFont.h"

namespace {

constexpr int kWidth = 256;
constexpr int kHeight = 128;

struct Rect {
    double left;
    double top;
    double right;
    double bottom;
};

// Signed distance to a rectangle whose four corners have their own radii (top-left,
// top-right, bottom-right, bottom-left).
double RoundedRectDistance(double x, double y, Rect rect, const double (&radii)[4]) {
    const double cx = (rect.left + rect.right) / 2.0;
    const double cy = (rect.top + rect.bottom) / 2.0;
    const double halfWidth = (rect.right - rect.left) / 2.0;
    const double halfHeight = (rect.bottom - rect.top) / 2.0;
    const double dx = x - cx;
    const double dy = y - cy;
    const double radius =
        dy < 0.0 ? (dx < 0.0 ? radii[0] : radii[1]) : (dx < 0.0 ? radii[3] : radii[2]);
    const double qx = std::fabs(dx) - halfWidth + radius;
    const double qy = std::fabs(dy) - halfHeight + radius;
    const double outside =
        std::sqrt(std::max(qx, 0.0) * std::max(qx, 0.0) + std::max(qy, 0.0) * std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

constexpr Rect kPlate{12.0, 3.0, 206.0, 63.0};
constexpr double kPlateRadii[4] = {17.0, 9.0, 23.0, 7.0};

// The plate: a rounded rectangle whose outline swells gently, so it looks cut by hand.
double PlateDistance(double x, double y) {
    const double wobble = 1.1 * Sine(0.071 * x + 0.6) + 0.8 * Sine(0.23 * y + 1.9);
    return RoundedRectDistance(x, y, kPlate, kPlateRadii) - wobble;
}

// The light window in which the frame rate is written: the program prints it in the
// default (black) text colour, which would not show on the dark plate.
constexpr Rect kReadout{90.0, 29.0, 176.0, 51.0};
constexpr double kReadoutRadii[4] = {4.0, 4.0, 4.0, 4.0};

}  // namespace

std::vector<Color8> DrawPanel() {
    Canvas canvas(kWidth, kHeight, ToRgb(kPanelKey));
    const Rgb plateTop{22.0, 30.0, 104.0};
    const Rgb plateBottom{6.0, 9.0, 52.0};
    const Rgb rimLight{120.0, 140.0, 235.0};
    const Rgb readoutFill{206.0, 216.0, 246.0};
    const Rgb readoutShade{120.0, 130.0, 180.0};
    const Rgb readoutLight{246.0, 248.0, 255.0};
    constexpr double kShadowX = 6.0;
    constexpr double kShadowY = 7.0;
    for (int y = 0; y < kHeight - 1; ++y) {
        for (int x = 0; x < kWidth - 1; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            Rgb& pixel = canvas.At(x, y);
            // A soft shadow, offset down and to the right, fading out over a few pixels.
            const double shadowDistance = PlateDistance(px - kShadowX, py - kShadowY);
            const double shadow = 0.85 * (1.0 - SmoothStep(-4.0, 5.0, shadowDistance));
            pixel = Mix(pixel, kBlack, shadow);

            const double plate = PlateDistance(px, py);
            const double cover = CoverageFromDistance(plate);
            if (cover <= 0.0) {
                continue;
            }
            Rgb colour = Mix(plateTop, plateBottom, SmoothStep(kPlate.top, kPlate.bottom, py));
            // A bevel: the rim catches the light on its upper left and darkens on its lower
            // right, judged by which way the outline faces.
            const double gx = PlateDistance(px + 0.5, py) - PlateDistance(px - 0.5, py);
            const double gy = PlateDistance(px, py + 0.5) - PlateDistance(px, py - 0.5);
            const double facing = Clamp01(-(gx + gy) * 0.7);
            const double away = Clamp01((gx + gy) * 0.7);
            const double rim = 1.0 - SmoothStep(0.0, 3.5, -plate);
            colour = Mix(colour, rimLight, 0.75 * rim * facing);
            colour = Mix(colour, kBlack, 0.6 * rim * away);

            const double readout = RoundedRectDistance(px, py, kReadout, kReadoutRadii);
            const double inReadout = CoverageFromDistance(readout);
            if (inReadout > 0.0) {
                // Sunken: shaded along the top and left inner edges, lit along the others.
                const double edge = 1.0 - SmoothStep(0.0, 2.5, -readout);
                const bool upperLeft = (py - kReadout.top) < (kReadout.bottom - py) &&
                                       (py - kReadout.top) < (px - kReadout.left) * 0.5 + 3.0;
                const bool left = (px - kReadout.left) < 3.0;
                Rgb face = Mix(readoutFill, readoutLight,
                               SmoothStep(kReadout.top, kReadout.bottom, py) * 0.6);
                face = Mix(face, (upperLeft || left) ? readoutShade : readoutLight, edge);
                colour = Mix(colour, face, inReadout);
            }
            // The lit rim and the shadow border the outline, so mixing with what lies beneath
            // reads as anti-aliasing both in the picture and over the dark scene.
            pixel = Mix(pixel, colour, cover);
        }
    }
    const TextShape title("ZEMLAR", {37.0, 12.0, 174.0, 25.0}, {1.35, 2.6, 0.0});
    DrawText(canvas, title, {228.0, 234.0, 255.0});
    const TextShape label("FPS :", {35.0, 36.0, 88.0, 47.0}, {1.1, 1.4, 0.0});
    DrawText(canvas, label, {160.0, 200.0, 255.0});
    return Finish(canvas, kPanelKey);
}
