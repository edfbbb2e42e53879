#pragma once

#include <windows.h>

// The scene as the saver window drives it: set up on window creation, one frame per idle turn
// of the message loop (full screen) or per timer tick (preview), points freed on destruction.

// Brings up the scene for the saver window; always returns true.
bool SetUpScene(HWND window);

// Draws and presents one frame on the display.
void RenderFrame();

// One full-screen frame from the message loop's idle branch; the preview draws on its timer
// instead, so this does nothing there.
void RenderIdleFrame();

// Frees modelPoints, then viewPoints, and nulls them. Called after the sprites and the display
// have been released.
void ReleaseScenePoints();

// The saver window given to SetUpScene.
extern HWND sceneWindow;
