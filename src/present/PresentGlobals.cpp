#include "present/Display.h"
#include "present/Sprite.h"

// One translation unit fixes the construction order: the display first, then the sprites,
// which are attached to it only when the scene is set up.
Display display;
Sprite ballSprites[2];
Sprite logoSprite;
Sprite infoSprite;
