// Test stand-in for the platform's PASSWORD.CPL (never shipped). VerifyScreenSavePwd shows the
// arrow cursor, as a password dialog would, and answers from ZEMLAR_VERIFIER_SCRIPT, one letter
// per call: y yes, n no after a quarter of a second; a call beyond the script answers yes.
#include <windows.h>

#include <string>

#include "StandInLog.h"

namespace {

int CallCount;

}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND) {
    char script[256] = {};
    const DWORD length = GetEnvironmentVariableA("ZEMLAR_VERIFIER_SCRIPT", script, sizeof script);
    const char letter = CallCount < static_cast<int>(length) ? script[CallCount] : 'y';
    ++CallCount;
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
    Sleep(letter == 'n' ? 250 : 0);  // The saver's spacing counts from the end of the query.
    AppendToStandInLog((std::string("verify ") + letter).c_str());
    return letter == 'y' ? TRUE : FALSE;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH || reason == DLL_PROCESS_DETACH) {
        AppendToStandInLog(reason == DLL_PROCESS_ATTACH ? "password load" : "password unload");
    }
    return TRUE;
}
