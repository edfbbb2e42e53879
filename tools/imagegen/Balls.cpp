#include <cmath>

#include "Palette.h"
#include "Pictures.h"

namespace {

constexpr int kBallSize = 16;
// Sub-samples per pixel side, so the disc's rim is anti-aliased.
constexpr int kSamples = 6;

struct Vector3 {
    double x;
    double y;
    double z;
};

Vector3 Normalized(Vector3 v) {
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / length, v.y / length, v.z / length};
}

double Dot(Vector3 a, Vector3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

double PowerOfTwoExponent(double base, int squarings) {
    double value = base;
    for (int i = 0; i < squarings; ++i) {
        value *= value;
    }
    return value;
}

// Renders a disc of the given centre and radius (pixel units, pixel i spans [i, i + 1)).
// Partly covered rim pixels are darkened towards black rather than mixed with the key: on
// screen the key is transparent and the balls stand on a black background.
std::vector<Color8> DrawBall(const SphereLook& look, double centre, double radius, Color8 key) {
    Canvas canvas(kBallSize, kBallSize, ToRgb(key));
    for (int y = 0; y < kBallSize - 1; ++y) {
        for (int x = 0; x < kBallSize - 1; ++x) {
            Rgb sum = kBlack;
            int inside = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double nx = (x + (sx + 0.5) / kSamples - centre) / radius;
                    const double ny = (y + (sy + 0.5) / kSamples - centre) / radius;
                    if (nx * nx + ny * ny < 1.0) {
                        sum = Add(sum, ShadeSphere(look, nx, ny));
                        ++inside;
                    }
                }
            }
            // A sliver of the disc is left out rather than shown as a near-black speck.
            constexpr int kMinimumSamples = kSamples * kSamples / 6;
            if (inside >= kMinimumSamples) {
                canvas.At(x, y) = Scale(sum, 1.0 / (kSamples * kSamples));
            }
        }
    }
    return Finish(canvas, key);
}

}  // namespace

Rgb ShadeSphere(const SphereLook& look, double nx, double ny) {
    const Vector3 normal{nx, ny, std::sqrt(1.0 - std::fmin(1.0, nx * nx + ny * ny))};
    const Vector3 light = Normalized({-0.55, -0.65, 0.75});
    const Vector3 halfway = Normalized({light.x, light.y, light.z + 1.0});
    const double diffuse = std::fmax(0.0, Dot(normal, light));
    const double glint =
        PowerOfTwoExponent(std::fmax(0.0, Dot(normal, halfway)), static_cast<int>(look.glintSize));
    // Light bouncing back from below-right keeps the shadow side from going flat.
    const double bounce = 0.18 * std::fmax(0.0, Dot(normal, Normalized({0.6, 0.7, 0.2})));
    Rgb colour = Mix(look.shadow, look.body, Clamp01(diffuse));
    colour = Add(colour, Scale(look.body, bounce));
    return Mix(colour, look.highlight, Clamp01(glint));
}

SphereLook BlueBallLook() {
    return {{8.0, 14.0, 70.0}, {45.0, 95.0, 235.0}, {215.0, 232.0, 255.0}, 5.0};
}

SphereLook WhiteBallLook() {
    return {{70.0, 72.0, 80.0}, {205.0, 207.0, 212.0}, {255.0, 255.0, 255.0}, 4.0};
}

std::vector<Color8> Finish(const Canvas& canvas, Color8 key) {
    return ToKeyedPixels(canvas, key);
}

std::vector<Color8> DrawBlueBall() {
    return DrawBall(BlueBallLook(), 8.0, 7.0, kBlueBallKey);
}

std::vector<Color8> DrawWhiteBall() {
    return DrawBall(WhiteBallLook(), 7.5, 7.5, kWhiteBallKey);
}
