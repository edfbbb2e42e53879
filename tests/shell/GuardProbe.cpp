// Test program, not shipped: runs the saver's exception guard around a deliberate fault.
//
//   guard-probe.exe fault   writes through a null pointer
//   guard-probe.exe throw   lets a C++ exception escape
//   guard-probe.exe clean   returns 3 without any fault
//
// It acts as the saver does on Windows 95/98 with the password on: it loads the verifier (the
// stand-in in win98\ beside it), which switches the platform's screen-saver-running state on,
// then runs into the fault. The stand-in logs the state when the process ends.
#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "shell/ExceptionGuard.h"
#include "shell/Password.h"
#include "shell/ProcessGlobals.h"
#include "standins/StandInLog.h"

namespace {

int* volatile NullTarget = nullptr;

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return 2;
    }
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    *std::strrchr(path, '\\') = '\0';
    SetDllDirectoryA((std::string(path) + "\\win98").c_str());
    OnWin9x = TRUE;
    LoadPasswordVerifier();
    BOOL running = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    AppendToStandInLog(running != FALSE ? "probe running=1" : "probe running=0");
    InstallExceptionGuard();
    InstallExceptionGuard();  // A second installation must not make the filter call itself.
    if (std::strcmp(argv[1], "fault") == 0) {
        *NullTarget = 1;
    } else if (std::strcmp(argv[1], "throw") == 0) {
        throw std::runtime_error("escaped from the run");
    }
    AppendToStandInLog("probe returned");
    return 3;
}
