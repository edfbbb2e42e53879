#pragma once

#include "raster/Canvas.h"
#include "scene/SceneSeams.h"

// The picture each sprite loads, compiled into the program from the files in src/res.
const SpriteImage& ImageOf(SceneSprite sprite);
