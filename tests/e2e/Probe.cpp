// Tells the end-to-end scripts what Wine itself sees, in one line on standard output:
//   mode=<width>x<height>x<bits> saver-windows=<n> saver-processes=<n>
// the display mode, the windows of the saver's class (full screen or preview, in any program's
// window) and the processes named zemlar*.scr. A preview window adds its parent, its screen
// rectangle and whether it is visible:
//   preview-parent=<handle> preview-rect=<x>,<y>,<width>x<height> visible=<0|1>
// With "dialog" it reads the open settings dialog instead, as the platform holds its controls:
//   checks=<clear screen><display informations><inc z pos> model-enabled=<0|1> focus=<id>
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>

#include "res/ResourceIds.h"

namespace {

int saverWindows;
HWND preview;

BOOL CALLBACK CountSaverWindow(HWND window, LPARAM topLevel) {
    char name[64] = {}, title[32] = {};
    GetClassNameA(window, name, sizeof name);
    GetWindowTextA(window, title, sizeof title);
    if (std::strcmp(name, "WindowsSwreenSaverClass") == 0) {
        ++saverWindows;
        preview = std::strcmp(title, "Preview") == 0 ? window : preview;
    }
    if (topLevel != 0) {
        EnumChildWindows(window, CountSaverWindow, 0);
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "dialog") == 0) {
        const HWND dialog = FindWindowA("#32770", "Zemlar configuration box");
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &gui);
        std::printf(
            "checks=%u%u%u model-enabled=%d focus=%d\n",
            IsDlgButtonChecked(dialog, IDC_CLEAR_SCREEN),
            IsDlgButtonChecked(dialog, IDC_DISPLAY_INFO), IsDlgButtonChecked(dialog, IDC_INC_Z_POS),
            IsWindowEnabled(GetDlgItem(dialog, IDC_MODEL)) ? 1 : 0, GetDlgCtrlID(gui.hwndFocus));
        return dialog != nullptr ? 0 : 1;
    }
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    EnumWindows(CountSaverWindow, 1);
    int processes = 0;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        const std::size_t length = std::strlen(entry.szExeFile);
        processes += _strnicmp(entry.szExeFile, "zemlar", 6) == 0 && length > 4 &&
                     _stricmp(entry.szExeFile + length - 4, ".scr") == 0;
    }
    CloseHandle(snapshot);
    std::printf("mode=%lux%lux%lu saver-windows=%d saver-processes=%d", mode.dmPelsWidth,
                mode.dmPelsHeight, mode.dmBitsPerPel, saverWindows, processes);
    if (preview != nullptr) {
        RECT r{};
        GetWindowRect(preview, &r);
        std::printf(" preview-parent=%lu preview-rect=%ld,%ld,%ldx%ld visible=%d",
                    static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(GetParent(preview))),
                    r.left, r.top, r.right - r.left, r.bottom - r.top,
                    IsWindowVisible(preview) ? 1 : 0);
    }
    std::printf("\n");
    return 0;
}
