// A stand-in for the display settings page: a window with a preview area of the classic size
// that starts a screen saver inside it with "/p <handle>", the way the platform does.
//
// Usage: preview-host.exe <saver path> [close-after-milliseconds]
// The host closes itself after the given time (if any) or when it receives WM_CLOSE. Closing
// destroys the preview area, which destroys the saver's child window; the host then waits for
// the saver and exits with the saver's exit code, so a test can read it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kPreviewWidth = 152;
constexpr int kPreviewHeight = 112;
constexpr UINT_PTR kCloseTimer = 1;
constexpr char kHostClass[] = "ZemlarPreviewHost";
constexpr char kAreaClass[] = "ZemlarPreviewArea";

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kCloseTimer) {
                KillTimer(window, kCloseTimer);
                DestroyWindow(window);
            }
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool RegisterClasses(HINSTANCE instance) {
    WNDCLASSA host{};
    host.lpfnWndProc = HostProc;
    host.hInstance = instance;
    host.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    host.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    host.lpszClassName = kHostClass;
    // The preview area itself draws nothing: the saver's child window covers it.
    WNDCLASSA area{};
    area.lpfnWndProc = DefWindowProcA;
    area.hInstance = instance;
    area.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    area.lpszClassName = kAreaClass;
    return RegisterClassA(&host) != 0 && RegisterClassA(&area) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: preview-host <saver path> [close-after-ms]\n");
        return 2;
    }
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!RegisterClasses(instance)) {
        return 3;
    }
    const HWND host = CreateWindowExA(0, kHostClass, "Zemlar preview host",
                                      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 40, 40,
                                      320, 240, nullptr, nullptr, instance, nullptr);
    const HWND area =
        CreateWindowExA(0, kAreaClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 60, 40,
                        kPreviewWidth, kPreviewHeight, host, nullptr, instance, nullptr);
    if (host == nullptr || area == nullptr) {
        return 4;
    }
    std::printf("preview area %lu\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(area)));
    std::fflush(stdout);

    std::string command =
        "\"" + std::string(argv[1]) + "\" /p " + std::to_string(reinterpret_cast<UINT_PTR>(area));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION saver{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &saver)) {
        DestroyWindow(host);
        return 5;
    }
    if (argc >= 3) {
        SetTimer(host, kCloseTimer, static_cast<UINT>(std::strtoul(argv[2], nullptr, 10)), nullptr);
    }

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }

    // The saver's window went with the preview area; give its process time to finish.
    DWORD exitCode = 6;
    if (WaitForSingleObject(saver.hProcess, 10000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(saver.hProcess, &exitCode);
    } else {
        TerminateProcess(saver.hProcess, 7);
    }
    CloseHandle(saver.hThread);
    CloseHandle(saver.hProcess);
    return static_cast<int>(exitCode);
}
