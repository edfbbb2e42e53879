// Test program, not shipped: acts as the saver does on Windows 95/98 with the password on (it
// loads the verifier stand-in from win98\ beside it, which switches the platform's
// screen-saver-running state on), then runs the saver's exception guard around
//   guard-probe.exe fault   a write through a null pointer
//   guard-probe.exe throw   a C++ exception that nothing catches
//   guard-probe.exe clean   no fault: it returns 3.
#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "shell/ExceptionGuard.h"
#include "shell/Password.h"
#include "shell/ProcessGlobals.h"
#include "standins/StandInLog.h"

int* volatile NullTarget = nullptr;

int main(int argc, char** argv) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    *std::strrchr(path, '\\') = '\0';
    SetDllDirectoryA((std::string(path) + "\\win98").c_str());
    OnWin9x = TRUE;
    LoadPasswordVerifier();
    BOOL running = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    AppendToStandInLog(running ? "probe running=1" : "probe running=0");
    InstallExceptionGuard();
    InstallExceptionGuard();  // A second installation must not make the filter call itself.
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "fault") {
        *NullTarget = 1;
    } else if (mode == "throw") {
        throw std::runtime_error("escaped from the run");
    }
    AppendToStandInLog("probe returned");
    return 3;
}
