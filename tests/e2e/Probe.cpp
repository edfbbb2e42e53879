// Tells the end-to-end scripts what Wine itself sees, in one line on standard output:
//   mode=<width>x<height>x<bits> saver-windows=<n> saver-processes=<n>
// The display mode is the current one of the primary display; saver windows are the windows of
// the saver's class (full screen or preview); saver processes are those whose executable name
// starts with "zemlar" and ends in ".scr" (the saver and the copies the scripts make of it).
// When a preview window exists it adds its parent's handle, its screen rectangle and whether it
// is visible:  preview-parent=<handle> preview-rect=<x>,<y>,<width>x<height> visible=<0|1>
#include <windows.h>
#include <tlhelp32.h>

#include <cctype>
#include <cstdio>
#include <string>

namespace {

constexpr char kSaverClass[] = "WindowsSwreenSaverClass";

std::string Lowered(const char* text) {
    std::string lowered(text);
    for (char& c : lowered) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lowered;
}

bool IsSaverExecutable(const char* name) {
    const std::string lowered = Lowered(name);
    return lowered.starts_with("zemlar") && lowered.ends_with(".scr");
}

int CountSaverProcesses() {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return -1;
    }
    int count = 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more != FALSE;
         more = Process32Next(snapshot, &entry)) {
        if (IsSaverExecutable(entry.szExeFile)) {
            ++count;
        }
    }
    CloseHandle(snapshot);
    return count;
}

bool IsSaverWindow(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return std::string(name) == kSaverClass;
}

struct SaverWindows {
    int count = 0;
    HWND preview = nullptr;
};

BOOL CALLBACK CountSaverWindow(HWND window, LPARAM found) {
    if (IsSaverWindow(window)) {
        auto* windows = reinterpret_cast<SaverWindows*>(found);
        ++windows->count;
        char title[32] = {};
        GetWindowTextA(window, title, sizeof title);
        if (std::string(title) == "Preview") {
            windows->preview = window;
        }
    }
    return TRUE;
}

BOOL CALLBACK CountSaverWindowsFrom(HWND topLevel, LPARAM found) {
    CountSaverWindow(topLevel, found);
    // Previews are children of other programs' windows; this walks all descendants.
    EnumChildWindows(topLevel, CountSaverWindow, found);
    return TRUE;
}

SaverWindows FindSaverWindows() {
    SaverWindows found;
    EnumWindows(CountSaverWindowsFrom, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

int main() {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) == FALSE) {
        mode.dmPelsWidth = 0;
        mode.dmPelsHeight = 0;
        mode.dmBitsPerPel = 0;
    }
    const SaverWindows windows = FindSaverWindows();
    std::printf(
        "mode=%lux%lux%lu saver-windows=%d saver-processes=%d",
        static_cast<unsigned long>(mode.dmPelsWidth), static_cast<unsigned long>(mode.dmPelsHeight),
        static_cast<unsigned long>(mode.dmBitsPerPel), windows.count, CountSaverProcesses());
    if (windows.preview != nullptr) {
        RECT rect{};
        GetWindowRect(windows.preview, &rect);
        std::printf(
            " preview-parent=%lu preview-rect=%ld,%ld,%ldx%ld visible=%d",
            static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(GetParent(windows.preview))),
            rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
            IsWindowVisible(windows.preview) != FALSE ? 1 : 0);
    }
    std::printf("\n");
    return 0;
}
