#include "shell/RunModes.h"

#include "res/ResourceIds.h"
#include "settings/SettingsDialog.h"
#include "shell/CommandLine.h"
#include "shell/ExceptionGuard.h"
#include "shell/Password.h"
#include "shell/ProcessGlobals.h"
#include "shell/SaverWindow.h"

namespace {

// CharNextA steps over a double-byte character whole.
const char* StepCharNextA(const char* position) {
    return CharNextA(position);
}

HWND WindowFromHandleValue(std::uint32_t value) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(value));
}

bool ComputeOnWin9x() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

}  // namespace

void StartSaverProcess() {
    const char* const argumentText = ArgumentText(GetCommandLineA(), StepCharNextA);
    STARTUPINFOA startup{};
    startup.dwFlags = 0;
    GetStartupInfoA(&startup);
    const int showState =
        (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
    const int result = RunMode(GetModuleHandleA(nullptr), nullptr, argumentText, showState);
    // Ends here: no destructor of a static object runs; the window released the scene already.
    ExitProcess(static_cast<UINT>(result));
}

int RunMode(HINSTANCE instance, HINSTANCE, LPCSTR argumentText, int) {
    SaverInstance = instance;
    OnWin9x = ComputeOnWin9x() ? TRUE : FALSE;
    InstallExceptionGuard();

    const RunChoice choice = ChooseRun(argumentText, OnWin9x != FALSE);
    switch (choice.run) {
        case SaverRun::Settings:
            return ShowSettings(nullptr);
        case SaverRun::SettingsOwnedByForeground:
            return ShowSettings(GetForegroundWindow());
        case SaverRun::FullScreen:
            return RunSaverWindow(nullptr);
        case SaverRun::Preview:
            return RunPreviewMode(choice.rest);
        case SaverRun::PasswordChange:
            return RunPasswordChangeMode(choice.rest);
        case SaverRun::Refused:
            break;
    }
    return kRefusedRun;
}

int RunPreviewMode(LPCSTR text) {
    const HWND parent = WindowFromHandleValue(ParseDecimal(text));
    if (parent == nullptr || !IsWindow(parent)) {
        return kRefusedRun;
    }
    return RunSaverWindow(parent);
}

int RunPasswordChangeMode(LPCSTR text) {
    HWND owner = WindowFromHandleValue(ParseDecimal(text));
    if (owner == nullptr || !IsWindow(owner)) {
        owner = GetForegroundWindow();
    }
    ChangeSaverPassword(owner);
    return 0;
}

int ShowSettings(HWND owner) {
    if (!AllowSettingsDialog(SaverInstance)) {
        return 0;
    }
    return static_cast<int>(DialogBoxParamA(SaverInstance, MAKEINTRESOURCEA(IDD_SETTINGS), owner,
                                            SettingsDialogProc, 0));
}

bool AllowSettingsDialog(HINSTANCE) {
    return true;
}
