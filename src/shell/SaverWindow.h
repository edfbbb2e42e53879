#pragma once

#include <windows.h>

// The window the saver draws in and the thread's message loop.

// The saver's window; null when it could not be created.
extern HWND SaverWindow;

// The value RunSaverWindow returns when the class cannot be registered or the window cannot be
// created: the same failure code as a switch outside the grammar.
inline constexpr int kNoSaverWindow = -1;

// Runs the preview inside `parent`, or the full-screen saver when `parent` is null, until the
// window is gone. Returns the quit code (0), 0 when a full-screen saver already runs, or
// kNoSaverWindow.
int RunSaverWindow(HWND parent);

// The three window procedures in their chain: the class's procedure hands on to the scene's,
// which hands on to the default one.
LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SceneMessageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SaverDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
