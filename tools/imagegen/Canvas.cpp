#include "Canvas.h"

#include <cmath>
#include <cstddef>

Rgb Mix(Rgb from, Rgb to, double amount) {
    return {from.r + (to.r - from.r) * amount, from.g + (to.g - from.g) * amount,
            from.b + (to.b - from.b) * amount};
}

Rgb Scale(Rgb colour, double factor) {
    return {colour.r * factor, colour.g * factor, colour.b * factor};
}

Rgb Add(Rgb a, Rgb b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}

namespace {

std::uint8_t ToChannel(double value) {
    const double rounded = std::floor(value + 0.5);
    if (rounded <= 0.0) {
        return 0;
    }
    if (rounded >= 255.0) {
        return 255;
    }
    return static_cast<std::uint8_t>(rounded);
}

}  // namespace

Color8 ToColor8(Rgb colour) {
    return {ToChannel(colour.r), ToChannel(colour.g), ToChannel(colour.b)};
}

Rgb ToRgb(Color8 colour) {
    return {colour.r * 1.0, colour.g * 1.0, colour.b * 1.0};
}

double Clamp01(double value) {
    if (value < 0.0) {
        return 0.0;
    }
    return value > 1.0 ? 1.0 : value;
}

double SmoothStep(double edge0, double edge1, double value) {
    const double t = Clamp01((value - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

double CoverageFromDistance(double signedDistance) {
    return Clamp01(0.5 - signedDistance);
}

double Sine(double radians) {
    // Reduce to [-pi, pi], then to [-pi/2, pi/2] by symmetry, where the series converges fast.
    const double turns = std::floor(radians / (2.0 * kPi) + 0.5);
    double x = radians - turns * 2.0 * kPi;
    if (x > kPi / 2.0) {
        x = kPi - x;
    } else if (x < -kPi / 2.0) {
        x = -kPi - x;
    }
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 1; n <= 9; ++n) {
        term = -term * x2 / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}

double Cosine(double radians) {
    return Sine(radians + kPi / 2.0);
}

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

Rgb& Canvas::At(int x, int y) {
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
}

const Rgb& Canvas::At(int x, int y) const {
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
}

void Canvas::Blend(int x, int y, Rgb colour, double opacity) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || opacity <= 0.0) {
        return;
    }
    Rgb& pixel = At(x, y);
    pixel = Mix(pixel, colour, Clamp01(opacity));
}
