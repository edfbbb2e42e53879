#pragma once

#include "scene/SceneSeams.h"

// Computes one frame from the scene state and hands its requests to the sink: the background,
// one draw per visible ball far to near, the logo, the information panel with the average
// frame rate (full screen only), and the present. Allocates nothing and evaluates no sine or
// cosine: the rotation reads the trigonometric tables.
void RenderFrame(FrameSink& sink, SceneClock& clock);
