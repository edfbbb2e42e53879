// A stand-in for the display settings page: a window with a preview area of the classic size
// that starts a screen saver inside it with "/p <handle>", the way the platform does; or, with
// /a, starts the saver's password change with "/a <handle>", owned by the host window.
//
// Usage: preview-host.exe [/a] <saver path> [close-after-milliseconds]
// It prints the handle and screen rectangle of the preview area (or the owner handle for /a).
// The host closes itself after the given time (if any), on the Escape key, on WM_CLOSE (its
// close box) or when the saver's process ends first. Closing destroys the preview area, which
// destroys the saver's child window; the host then waits for the saver and exits with the
// saver's exit code, so a test can read it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kPreviewWidth = 152;
constexpr int kPreviewHeight = 112;
constexpr UINT_PTR kCloseTimer = 1;
constexpr char kHostClass[] = "ZemlarPreviewHost";
constexpr char kAreaClass[] = "ZemlarPreviewArea";
constexpr DWORD kSaverEndWaitMs = 10000;

// Exit codes of the host's own failures; the saver's own codes are 0, 42 and 255.
constexpr int kUsage = 2;
constexpr int kNoWindow = 4;
constexpr int kNoProcess = 5;
constexpr int kSaverStillRunning = 7;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kCloseTimer) {
                KillTimer(window, kCloseTimer);
                DestroyWindow(window);
            }
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                DestroyWindow(window);
                return 0;
            }
            return DefWindowProcA(window, message, wParam, lParam);
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
    // The preview area itself draws white: the saver's child window covers it.
    WNDCLASSA area{};
    area.lpfnWndProc = DefWindowProcA;
    area.hInstance = instance;
    area.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    area.lpszClassName = kAreaClass;
    return RegisterClassA(&host) != 0 && RegisterClassA(&area) != 0;
}

unsigned long HandleNumber(HWND window) {
    return static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window));
}

// Runs the host's messages until its window is gone or the saver's process ends.
void RunHost(HWND host, HANDLE saver) {
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &saver, FALSE, INFINITE, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) {
            std::printf("saver ended before the host closed\n");
            std::fflush(stdout);
            DestroyWindow(host);
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                return;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    int next = 1;
    const bool passwordChange =
        next < argc && (std::strcmp(argv[next], "/a") == 0 || std::strcmp(argv[next], "-a") == 0);
    if (passwordChange) {
        ++next;
    }
    if (next >= argc) {
        std::fprintf(stderr, "usage: preview-host [/a] <saver path> [close-after-ms]\n");
        return kUsage;
    }
    const std::string saverPath = argv[next++];
    const char* closeAfter = next < argc ? argv[next] : nullptr;

    const HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!RegisterClasses(instance)) {
        return kNoWindow;
    }
    const HWND host = CreateWindowExA(0, kHostClass, "Zemlar preview host",
                                      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 40, 40,
                                      320, 240, nullptr, nullptr, instance, nullptr);
    const HWND area =
        CreateWindowExA(0, kAreaClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 60, 40,
                        kPreviewWidth, kPreviewHeight, host, nullptr, instance, nullptr);
    if (host == nullptr || area == nullptr) {
        return kNoWindow;
    }
    UpdateWindow(host);

    std::string command = "\"" + saverPath + "\"";
    if (passwordChange) {
        std::printf("owner %lu\n", HandleNumber(host));
        command += " /a " + std::to_string(HandleNumber(host));
    } else {
        POINT origin{0, 0};
        ClientToScreen(area, &origin);
        std::printf("preview area %lu at %ld,%ld size %dx%d\n", HandleNumber(area), origin.x,
                    origin.y, kPreviewWidth, kPreviewHeight);
        command += " /p " + std::to_string(HandleNumber(area));
    }
    std::fflush(stdout);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION saver{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &saver)) {
        DestroyWindow(host);
        return kNoProcess;
    }
    if (closeAfter != nullptr) {
        SetTimer(host, kCloseTimer, static_cast<UINT>(std::strtoul(closeAfter, nullptr, 10)),
                 nullptr);
    }
    RunHost(host, saver.hProcess);

    // The saver's window went with the preview area; give its process time to finish.
    DWORD exitCode = kSaverStillRunning;
    if (WaitForSingleObject(saver.hProcess, kSaverEndWaitMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(saver.hProcess, &exitCode);
    } else {
        TerminateProcess(saver.hProcess, kSaverStillRunning);
    }
    std::printf("saver ended with status %lu\n", static_cast<unsigned long>(exitCode));
    CloseHandle(saver.hThread);
    CloseHandle(saver.hProcess);
    return static_cast<int>(exitCode);
}
