#pragma once

#include "scene/SceneSeams.h"

// Brings up the scene: settings, spin, cube, tables, projection, display, sprites, logo and
// panel, centroid and clock, in that order. Always returns true.
bool SetUpScene(SceneHost& host, SceneClock& clock);
