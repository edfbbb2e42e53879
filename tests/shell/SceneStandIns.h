#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Stand-ins for the scene, the display and the sprites, linked into the window tests in their
// place: they record what the saver window asks of them, and the idle frame runs the test's
// script one step per call.
namespace standins {

// Everything the saver window asked of the stand-ins, in order.
extern std::vector<std::string> Events;

// One step of a test's script, run from the idle branch of the message loop with the saver's
// window. Returns true when done; false to be called again at the next idle turn.
using Step = std::function<bool(HWND window)>;

// Runs the steps in order, one per idle turn; a run that outlasts its deadline is ended by
// destroying the window, and "timed out" is recorded.
void SetScript(std::vector<Step> steps);

// Called when the window is destroyed, after the scene's points are released.
extern std::function<void()> OnReleaseScenePoints;

// Clears the record and the script.
void Reset();

// The events whose text starts with `prefix`.
std::vector<std::string> EventsStartingWith(const std::string& prefix);

// Number of frames drawn (RenderFrame calls).
int FrameCount();

}  // namespace standins
