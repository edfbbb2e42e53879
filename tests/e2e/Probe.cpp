// Tells the end-to-end scripts what Wine itself sees, in one line on standard output:
//   mode=<width>x<height>x<bits> saver-windows=<n> saver-processes=<n>
// the display mode of the primary display, the windows of the saver's class (full screen or
// preview) and the processes named zemlar*.scr (the saver and the scripts' copies of it). When a
// preview window exists it adds its parent, its screen rectangle and whether it is visible:
//   preview-parent=<handle> preview-rect=<x>,<y>,<width>x<height> visible=<0|1>
// With "dialog" it reads the open settings dialog instead, as the platform holds its controls:
//   checks=<clear screen><display informations><inc z pos> model-enabled=<0|1> focus=<id>
#include <windows.h>
#include <tlhelp32.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "res/ResourceIds.h"

namespace {

int saverWindows;
HWND preview;

BOOL CALLBACK CountSaverWindow(HWND window, LPARAM) {
    char name[64] = {}, title[32] = {};
    GetClassNameA(window, name, sizeof name);
    GetWindowTextA(window, title, sizeof title);
    if (std::strcmp(name, "WindowsSwreenSaverClass") == 0) {
        ++saverWindows;
        preview = std::strcmp(title, "Preview") == 0 ? window : preview;
    }
    return TRUE;
}

// Previews are children of other programs' windows: every top-level window's descendants too.
BOOL CALLBACK CountSaverWindowsFrom(HWND topLevel, LPARAM) {
    CountSaverWindow(topLevel, 0);
    EnumChildWindows(topLevel, CountSaverWindow, 0);
    return TRUE;
}

int CountSaverProcesses() {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        std::string name = entry.szExeFile;
        for (char& c : name) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        count += name.starts_with("zemlar") && name.ends_with(".scr") ? 1 : 0;
    }
    CloseHandle(snapshot);
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "dialog") == 0) {
        const HWND dialog = FindWindowA("#32770", "Zemlar configuration box");
        if (dialog == nullptr) {
            std::printf("no dialog\n");
            return 1;
        }
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &gui);
        std::printf(
            "checks=%u%u%u model-enabled=%d focus=%d\n",
            IsDlgButtonChecked(dialog, IDC_CLEAR_SCREEN),
            IsDlgButtonChecked(dialog, IDC_DISPLAY_INFO), IsDlgButtonChecked(dialog, IDC_INC_Z_POS),
            IsWindowEnabled(GetDlgItem(dialog, IDC_MODEL)) ? 1 : 0, GetDlgCtrlID(gui.hwndFocus));
        return 0;
    }
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    EnumWindows(CountSaverWindowsFrom, 0);
    std::printf("mode=%lux%lux%lu saver-windows=%d saver-processes=%d", mode.dmPelsWidth,
                mode.dmPelsHeight, mode.dmBitsPerPel, saverWindows, CountSaverProcesses());
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
