#include "settings/SettingsDialog.h"

#include <cstdint>

#include "res/ResourceIds.h"
#include "settings/SaverSettings.h"
#include "settings/SettingsDialogRules.h"

namespace {

void ShowFlag(HWND dialog, int control, std::uint8_t flag) {
    SendDlgItemMessageA(dialog, control, BM_SETCHECK, flag != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::uint8_t ReadFlag(HWND dialog, int control) {
    return SendDlgItemMessageA(dialog, control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

// Text that is no number, or a number beyond the signed 32-bit range, reads as 0.
std::uint32_t ReadSignedNumber(HWND dialog, int control) {
    return GetDlgItemInt(dialog, control, nullptr, TRUE);
}

void ShowSettingsInControls(HWND dialog) {
    LoadSettings(CurrentSettings);
    SetDlgItemInt(dialog, IDC_FOV, static_cast<UINT>(FieldOfViewShown(CurrentSettings.FieldOfView)),
                  TRUE);
    SetDlgItemInt(dialog, IDC_BALLS_PER_LINE, static_cast<UINT>(CurrentSettings.BallsPerLine),
                  TRUE);
    ShowFlag(dialog, IDC_INC_Z_POS, CurrentSettings.IncZPos);
    ShowFlag(dialog, IDC_CLEAR_SCREEN, CurrentSettings.ClearScreen);
    ShowFlag(dialog, IDC_DISPLAY_INFO, CurrentSettings.DisplayInformations);
}

void StoreControlsAndSave(HWND dialog) {
    CurrentSettings.FieldOfView = FieldOfViewTyped(ReadSignedNumber(dialog, IDC_FOV));
    CurrentSettings.ClearScreen = ReadFlag(dialog, IDC_CLEAR_SCREEN);
    CurrentSettings.DisplayInformations = ReadFlag(dialog, IDC_DISPLAY_INFO);
    CurrentSettings.IncZPos = ReadFlag(dialog, IDC_INC_Z_POS);
    CurrentSettings.BallsPerLine =
        static_cast<std::int32_t>(ReadSignedNumber(dialog, IDC_BALLS_PER_LINE));
    SaveSettings(CurrentSettings);
}

}  // namespace

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            ShowSettingsInControls(dialog);
            return TRUE;  // The focus goes to the first tab stop, the OK button.
        case WM_COMMAND:
            // Only the control ID counts: Enter, Escape and the close box arrive as 1 or 2.
            switch (LOWORD(wParam)) {
                case IDOK:
                    StoreControlsAndSave(dialog);
                    EndDialog(dialog, kSettingsDialogResult);
                    break;
                case IDCANCEL:
                    EndDialog(dialog, kSettingsDialogResult);
                    break;
                default:
                    break;
            }
            return TRUE;
        default:
            return FALSE;
    }
}
