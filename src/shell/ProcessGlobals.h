#pragma once

#include <windows.h>

// The module instance of the executable, stored before any run mode starts.
extern HINSTANCE SaverInstance;

// True when the platform is Windows 95/98, the only one with the saver password steps.
extern BOOL OnWin9x;
