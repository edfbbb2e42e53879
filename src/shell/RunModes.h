#pragma once

#include <windows.h>

#include <cstdint>

// The start routine and the run modes that the command line selects.

// Finds the argument text behind the program name, runs the selected mode and ends the
// process with the mode's result as its exit code.
[[noreturn]] void StartSaverProcess();

// Stores the instance, finds out whether the platform is Windows 95/98, and runs the mode the
// first switch letter selects. The previous instance and the show state are not used.
int RunMode(HINSTANCE instance, HINSTANCE previousInstance, LPCSTR argumentText, int showState);

// The preview inside the window whose decimal handle starts `text`; -1 when it is 0 or no window.
int RunPreviewMode(LPCSTR text);

// The password change owned by the window whose handle starts `text` (or, failing that, the
// foreground window). Always 0.
int RunPasswordChangeMode(LPCSTR text);

// The settings dialog, modal, owned by `owner`; the dialog's result.
int ShowSettings(HWND owner);

// Asked before the settings dialog is shown; it always allows it.
bool AllowSettingsDialog(HINSTANCE instance);

// The exit code of a switch outside the grammar or an unusable window handle.
inline constexpr int kRefusedRun = -1;
