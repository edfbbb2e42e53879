#pragma once

#include <windows.h>

// The platform's screen-saver password on Windows 95/98. Everything here does nothing on other
// platforms (OnWin9x false); the preview never loads a verifier.

// VerifyScreenSavePwd of PASSWORD.CPL: asks for the password; non-zero lets the saver close.
using VerifyScreenSavePwdEntry = BOOL(WINAPI*)(HWND window);

// PwdChangePasswordA of MPR.DLL: the platform's password change for a provider key.
using PwdChangePasswordEntry = DWORD(WINAPI*)(LPCSTR provider, HWND owner, DWORD flags,
                                              LPVOID info);

// PASSWORD.CPL and its entry while loaded; null otherwise.
extern HMODULE VerifierModule;
extern VerifyScreenSavePwdEntry VerifierEntry;

// The private message by which the saver asks its own window for the password.
inline constexpr UINT kPasswordQueryMessage = WM_APP;

// Tells the platform that a screen saver starts or stops running (Windows 95/98 only).
void SetSaverRunning(bool on);

// Loads the verifier when the user has turned the password on; the saver-running state is on
// exactly while a verifier is loaded.
void LoadPasswordVerifier();
void UnloadPasswordVerifier();

// Decides a close request of the full-screen window; non-zero lets it close.
int ConfirmClose(HWND window);

// Runs the platform's password change for screen savers, owned by `owner`.
void ChangeSaverPassword(HWND owner);
