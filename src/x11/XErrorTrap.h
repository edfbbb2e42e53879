#pragma once

#include <X11/Xlib.h>

// X reports a bad request later and, by default, ends the program. The trap records the error
// instead, so that a wrong window id or a refused shared-memory segment can be answered.
void InstallErrorTrap();

// Sends what is queued, waits for the server, and returns (and forgets) whether any request
// failed since the last call.
bool RequestsFailed(Display* display);

// The same answer without the wait, for when the server has just been waited for (a shown
// frame waits for it already).
bool FailureSeen();
