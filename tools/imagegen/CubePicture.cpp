#include <cmath>
#include <cstddef>
#include <vector>

#include "Palette.h"
#include "Pictures.h"

namespace {

constexpr int kWidth = 106;
constexpr int kHeight = 111;
constexpr int kBallsPerEdge = 5;
constexpr int kSamples = 4;

struct Ball {
    double x;  // Screen position of the centre.
    double y;
    double z;  // Depth: smaller is nearer.
    double radius;
    bool blue;
};

// The cube turned about its centre, seen in perspective from the front.
std::vector<Ball> PlaceBalls() {
    const double yaw = 0.62;
    const double pitch = 0.42;
    const double roll = 0.12;
    const double cy = Cosine(yaw), sy = Sine(yaw);
    const double cp = Cosine(pitch), sp = Sine(pitch);
    const double cr = Cosine(roll), sr = Sine(roll);
    constexpr double kSpacing = 1.0;
    constexpr double kBallRadius = 0.3;
    constexpr double kCameraDistance = 9.0;
    constexpr double kFocal = 104.0;
    std::vector<Ball> balls;
    const double half = (kBallsPerEdge - 1) / 2.0;
    for (int i = 0; i < kBallsPerEdge; ++i) {
        for (int j = 0; j < kBallsPerEdge; ++j) {
            for (int k = 0; k < kBallsPerEdge; ++k) {
                double x = (i - half) * kSpacing;
                double y = (j - half) * kSpacing;
                double z = (k - half) * kSpacing;
                // Yaw about y, then pitch about x, then roll about z.
                const double x1 = x * cy + z * sy;
                const double z1 = -x * sy + z * cy;
                const double y2 = y * cp - z1 * sp;
                const double z2 = y * sp + z1 * cp;
                x = x1 * cr - y2 * sr;
                y = x1 * sr + y2 * cr;
                z = z2 + kCameraDistance;
                balls.push_back({kWidth / 2.0 + kFocal * x / z, kHeight / 2.0 + kFocal * y / z, z,
                                 kFocal * kBallRadius / z, (i + j + k) % 2 == 0});
            }
        }
    }
    return balls;
}

}  // namespace

std::vector<Color8> DrawCubePicture() {
    const std::vector<Ball> balls = PlaceBalls();
    const SphereLook blue = BlueBallLook();
    const SphereLook white = WhiteBallLook();
    Canvas canvas(kWidth, kHeight, kBlack);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            Rgb sum = kBlack;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double px = x + (sx + 0.5) / kSamples;
                    const double py = y + (sy + 0.5) / kSamples;
                    // The nearest ball covering the sample shows there.
                    const Ball* front = nullptr;
                    for (const Ball& ball : balls) {
                        const double dx = px - ball.x;
                        const double dy = py - ball.y;
                        if (dx * dx + dy * dy < ball.radius * ball.radius &&
                            (front == nullptr || ball.z < front->z)) {
                            front = &ball;
                        }
                    }
                    if (front != nullptr) {
                        // Farther balls are dimmer, which gives the cube its depth.
                        const double fog = 1.0 - 0.09 * (front->z - 7.0);
                        sum = Add(sum, Scale(ShadeSphere(front->blue ? blue : white,
                                                         (px - front->x) / front->radius,
                                                         (py - front->y) / front->radius),
                                             Clamp01(fog)));
                    }
                }
            }
            canvas.At(x, y) = Scale(sum, 1.0 / (kSamples * kSamples));
        }
    }
    // Not a sprite: it shows as it is, so no colour is kept away from black.
    std::vector<Color8> pixels;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            pixels.push_back(ToColor8(canvas.At(x, y)));
        }
    }
    return pixels;
}
