// Test stand-in for the platform's PASSWORD.CPL (never shipped). VerifyScreenSavePwd shows the
// arrow cursor, as a password dialog would, and answers from ZEMLAR_VERIFIER_SCRIPT, one letter
// per call (a call beyond the script answers yes):
//   y  yes (1)      n  no (0), after a quarter of a second
//   c  sends WM_CLOSE to the saver window meanwhile and logs its result; then no
//   k  sends a key press and a mouse move meanwhile and logs whether a WM_CLOSE got queued and
//      whether the cursor stayed visible; then no
#include <windows.h>

#include <cstdio>

#include "StandInLog.h"

namespace {

int CallCount;

}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window) {
    char script[256] = {};
    const DWORD length = GetEnvironmentVariableA("ZEMLAR_VERIFIER_SCRIPT", script, sizeof script);
    const char letter = CallCount < static_cast<int>(length) ? script[CallCount] : 'y';
    ++CallCount;
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
    char line[80];
    std::snprintf(line, sizeof line, "verify %c", letter);
    if (letter == 'c') {
        const LRESULT nested = SendMessageA(window, WM_CLOSE, 0, 0);
        std::snprintf(line, sizeof line, "verify c nested-close=%ld", static_cast<long>(nested));
    }
    Sleep(letter == 'n' ? 250 : 0);  // The saver's spacing counts from the end of the query.
    AppendToStandInLog(line);
    if (letter == 'k') {
        SendMessageA(window, WM_KEYDOWN, 'K', 0);
        SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
        SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), HTCLIENT);
        MSG message;
        std::snprintf(line, sizeof line, "input-during-query close-queued=%d cursor-shown=%d",
                      PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) ? 1 : 0,
                      GetCursor() != nullptr ? 1 : 0);
        AppendToStandInLog(line);
    }
    return letter == 'y' ? TRUE : FALSE;
}

// At process exit (reserved non-null) the log also tells the platform's screen-saver-running
// state as the process leaves it, which no other process can read.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        AppendToStandInLog("password load");
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        AppendToStandInLog("password unload");
    } else if (reason == DLL_PROCESS_DETACH) {
        BOOL running = FALSE;
        SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
        AppendToStandInLog(running ? "password unload at exit running=1"
                                   : "password unload at exit running=0");
    }
    return TRUE;
}
