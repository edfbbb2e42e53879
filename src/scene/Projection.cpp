#include "scene/Projection.h"

#include <cmath>

void UpdateFocalLengths(Projection& projection) {
    // Degrees to radians with pi taken as 3.14, like the rotation tables.
    constexpr double kDegreesToRadians = 0.017444444444444446;
    const double t = std::tan(projection.fov * 0.5 * kDegreesToRadians);
    projection.hFocal = projection.width * 0.5 / t;
    projection.vFocal = projection.height * 0.5 / projection.aspect / t;
}
