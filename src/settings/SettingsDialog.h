#pragma once

#include <windows.h>

// The settings dialog's procedure (dialog template IDD_SETTINGS). Opening loads the settings
// file into the controls; OK stores the controls and saves the file; OK and Cancel both end
// the dialog with kSettingsDialogResult.
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

inline constexpr INT_PTR kSettingsDialogResult = 42;
