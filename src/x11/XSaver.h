#pragma once

#include "x11/Options.h"

// Runs the saver on the X display until a signal, a close or a key ends it. Returns the exit
// status: 0 after a clean end, 1 when the display or the window cannot be used (the reason
// goes to standard error).
int RunSaver(const SaverOptions& options);
