#pragma once

#include <cstdint>

#include "scene/Point4.h"
#include "scene/Projection.h"

// The scene's process-wide state: zero at program start, brought up by the scene set-up and
// advanced by each frame. The saver window's handle is kept on the Windows side.

inline constexpr int kSpinAxes = 3;  // Index 0 turns about x, 1 about y, 2 about z.

extern Point4* modelPoints;  // The cube as built; never changed afterwards.
extern Point4* viewPoints;   // Rewritten by every frame: turned, projected, sorted.
extern std::int32_t pointCount;
extern Point4 centroid;      // The centre of rotation.
extern Point4 screenCentre;  // (W >> 1, H >> 1, camera distance); z moves with IncZPos.
extern Projection projection;

extern std::int32_t spinCountdown[kSpinAxes];
extern std::int32_t spinSpeed[kSpinAxes];
extern std::int32_t spinAngle[kSpinAxes];

extern std::int64_t counterFrequency;  // Performance-counter ticks per second; 0 if none.
extern std::int64_t startCount;        // Counter value at the end of set-up.

extern bool zIncreasing;          // Direction of the camera-distance movement.
extern std::uint32_t frameCount;  // Frames that drew the information panel.
extern std::int64_t shownValue;   // Whole seconds since set-up, then the average frame rate.

// The client area the scene was set up for (the display's width and height), and the logo's
// top-left corner, which the frame slides to the right after ten seconds.
extern std::int32_t clientWidth;
extern std::int32_t clientHeight;
extern std::int32_t logoX;
extern std::int32_t logoY;

// Frees modelPoints, then viewPoints, and nulls them. The count drops to 0 as well, so that
// nothing can read the freed arrays afterwards.
void ReleaseScenePoints();
