// Test stand-in for the platform's MPR.DLL (never shipped): PwdChangePasswordA logs its four
// arguments, the owner window as a decimal handle.
#include <windows.h>

#include <cstdio>

#include "StandInLog.h"

extern "C" __declspec(dllexport) DWORD WINAPI
    PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD flags, LPVOID info) {
    char line[160];
    std::snprintf(line, sizeof line, "change provider=%s owner=%lu flags=%lu info=%lu",
                  provider != nullptr ? provider : "(null)",
                  static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(owner)),
                  static_cast<unsigned long>(flags),
                  static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(info)));
    AppendToStandInLog(line);
    return 0;
}
