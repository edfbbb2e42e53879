#include "scene/SceneState.h"

#include <cstdlib>

Point4* modelPoints;
Point4* viewPoints;
std::int32_t pointCount;
Point4 centroid;
Point4 screenCentre;
Projection projection;

std::int32_t spinCountdown[kSpinAxes];
std::int32_t spinSpeed[kSpinAxes];
std::int32_t spinAngle[kSpinAxes];

std::int64_t counterFrequency;
std::int64_t startCount;

bool zIncreasing;
std::uint32_t frameCount;
std::int64_t shownValue;

std::int32_t clientWidth;
std::int32_t clientHeight;
std::int32_t logoX;
std::int32_t logoY;

void ReleaseScenePoints() {
    std::free(modelPoints);
    modelPoints = nullptr;
    std::free(viewPoints);
    viewPoints = nullptr;
    pointCount = 0;
}
