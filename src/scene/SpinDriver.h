#pragma once

// Advances the three rotation angles by one frame. An axis whose countdown has run below zero
// first draws a new countdown (0..999 frames) and then a new speed (0, 1 or 2 degrees per
// frame) from the scene's generator.
void UpdateSpin();
