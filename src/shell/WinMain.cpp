#include <windows.h>

#include "shell/RunModes.h"

// The arguments are not used: the start routine reads the command line and start-up
// information itself.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    StartSaverProcess();
}
