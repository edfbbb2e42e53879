#include "scene/BallCube.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "scene/SceneState.h"

namespace {

// Byte size of one array of count points, or 0 when it does not fit in size_t. Computed in
// 64 bits so that no count can wrap it.
std::size_t ArrayBytes(std::uint64_t count) {
    constexpr std::uint64_t kPointBytes = sizeof(Point4);
    if (count > SIZE_MAX / kPointBytes) {
        return 0;
    }
    return static_cast<std::size_t>(count * kPointBytes);
}

}  // namespace

void BuildBallCube(std::int32_t n) {
    ReleaseScenePoints();
    if (n <= 0 || n > kMaxBallsPerLine) {
        return;
    }
    const std::uint64_t count = static_cast<std::uint64_t>(n) * static_cast<std::uint64_t>(n) *
                                static_cast<std::uint64_t>(n);
    const std::size_t bytes = ArrayBytes(count);
    if (bytes == 0) {
        return;
    }
    modelPoints = static_cast<Point4*>(std::malloc(bytes));
    viewPoints = static_cast<Point4*>(std::malloc(bytes));
    if (modelPoints == nullptr || viewPoints == nullptr) {
        ReleaseScenePoints();
        return;
    }
    pointCount = static_cast<std::int32_t>(count);

    // The first coordinate comes from an integer shift; the rest by adding 16 to a running
    // double, so the values match the classic build bit for bit.
    const double origin = static_cast<double>(-(n >> 1) * 16);
    std::int32_t k = 0;
    double z = origin;
    for (std::int32_t iz = 0; iz < n; ++iz, z += 16.0) {
        double y = origin;
        for (std::int32_t iy = 0; iy < n; ++iy, y += 16.0) {
            double x = origin;
            for (std::int32_t ix = 0; ix < n; ++ix, x += 16.0) {
                modelPoints[k] = MakePoint(x, y, z, k & 1);
                ++k;
            }
        }
    }
}
