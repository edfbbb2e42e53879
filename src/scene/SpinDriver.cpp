#include "scene/SpinDriver.h"

#include "scene/Random.h"
#include "scene/SceneState.h"

void UpdateSpin() {
    for (int axis = 0; axis < kSpinAxes; ++axis) {
        if (spinCountdown[axis] < 0) {
            // Two draws per axis, countdown first: the order fixes which numbers go where.
            spinCountdown[axis] = NextRandom() % 1000;
            spinSpeed[axis] = NextRandom() % 3;
        }
        spinAngle[axis] = (spinAngle[axis] + spinSpeed[axis]) % 360;
        spinCountdown[axis] = spinCountdown[axis] - 1;
    }
}
