// Test stand-in for the platform's PASSWORD.CPL (never shipped). VerifyScreenSavePwd answers
// from the script in ZEMLAR_VERIFIER_SCRIPT, one letter per call:
//   y  the password is right (1)        n  the password is wrong (0)
//   c  while asking, send WM_CLOSE to the saver window and log its result; then answer 0
//   k  while asking, send a key press and a mouse move to the saver window and log whether
//      a WM_CLOSE got queued and whether the cursor stayed visible; then answer 0
// A call beyond the script answers 1. While asking it shows the arrow cursor, as a password
// dialog would.
#include <windows.h>

#include <cstdio>

#include "StandInLog.h"

namespace {

int CallCount;

char ScriptLetter(int index) {
    char script[256] = {};
    const DWORD length = GetEnvironmentVariableA("ZEMLAR_VERIFIER_SCRIPT", script, sizeof script);
    if (length >= sizeof script || index >= static_cast<int>(length)) {
        return 'y';
    }
    return script[index];
}

BOOL InputDuringQuery(HWND window) {
    SendMessageA(window, WM_KEYDOWN, 'K', 0);
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), HTCLIENT);
    MSG message;
    const bool closeQueued = PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != 0;
    char line[64];
    std::snprintf(line, sizeof line, "input-during-query close-queued=%d cursor-shown=%d",
                  closeQueued ? 1 : 0, GetCursor() != nullptr ? 1 : 0);
    AppendToStandInLog(line);
    return FALSE;
}

}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window) {
    const char letter = ScriptLetter(CallCount++);
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
    char line[64];
    switch (letter) {
        case 'c': {
            const LRESULT nested = SendMessageA(window, WM_CLOSE, 0, 0);
            std::snprintf(line, sizeof line, "verify c nested-close=%ld",
                          static_cast<long>(nested));
            AppendToStandInLog(line);
            return FALSE;
        }
        case 'k':
            AppendToStandInLog("verify k");
            return InputDuringQuery(window);
        case 'n':
            AppendToStandInLog("verify n");
            return FALSE;
        default:
            AppendToStandInLog("verify y");
            return TRUE;
    }
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
