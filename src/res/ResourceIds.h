#pragma once

// Resource identifiers, shared by the resource script and the code; plain #defines because the
// resource compiler reads this file too.

// Bitmaps.
#define IDB_BALL0 104
#define IDB_BALL1 108
#define IDB_DIALOG_PICTURE 112
#define IDB_LOGO 115
#define IDB_PANEL 116

// The file's icon group.
#define IDI_ZEMLAR 101

// The settings dialog and its controls.
#define IDD_SETTINGS 110
#define IDC_FOV 1002
#define IDC_MODEL 1003
#define IDC_CONTACT 1004
#define IDC_CLEAR_SCREEN 1008
#define IDC_DISPLAY_INFO 1009
#define IDC_BALLS_PER_LINE 1010
#define IDC_INC_Z_POS 1011
