#pragma once

#include <cstdint>
#include <vector>

// A colour with channels in 0..255 held as doubles while a picture is being drawn.
struct Rgb {
    double r;
    double g;
    double b;
};

// The colour a picture ends up with in a bitmap file.
struct Color8 {
    std::uint8_t r;
    std::uint8_t g;
    std::uint8_t b;
    friend bool operator==(const Color8&, const Color8&) = default;
};

constexpr Rgb kBlack{0.0, 0.0, 0.0};

Rgb Mix(Rgb from, Rgb to, double amount);
Rgb Scale(Rgb colour, double factor);
Rgb Add(Rgb a, Rgb b);
Color8 ToColor8(Rgb colour);
Rgb ToRgb(Color8 colour);

double Clamp01(double value);
// Hermite step from 0 at edge0 to 1 at edge1.
double SmoothStep(double edge0, double edge1, double value);
// Coverage of a pixel by a shape whose signed distance (negative inside) is taken at the
// pixel's centre: a one-pixel linear ramp across the edge.
double CoverageFromDistance(double signedDistance);

// Sine and cosine by a fixed polynomial, so that the pictures come out bit for bit the same
// whatever the compiler folds at build time and whatever the C library's own sin returns.
double Sine(double radians);
double Cosine(double radians);
constexpr double kPi = 3.14159265358979323846;

// A picture with the top-left pixel first and rows going down.
class Canvas {
  public:
    Canvas(int width, int height, Rgb fill);

    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgb& At(int x, int y);
    const Rgb& At(int x, int y) const;
    // Lays colour over the pixel with the given opacity.
    void Blend(int x, int y, Rgb colour, double opacity);

  private:
    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};
