#include "shell/ProcessGlobals.h"

HINSTANCE SaverInstance;
BOOL OnWin9x;
