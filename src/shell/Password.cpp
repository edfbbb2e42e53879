#include "shell/Password.h"

#include <cstdint>

#include "shell/CloseConfirmation.h"
#include "shell/ProcessGlobals.h"

HMODULE VerifierModule;
VerifyScreenSavePwdEntry VerifierEntry;

namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kUsePasswordValue[] = "ScreenSaveUsePassword";
constexpr char kVerifierModule[] = "PASSWORD.CPL";
constexpr char kVerifierEntry[] = "VerifyScreenSavePwd";
constexpr char kChangeModule[] = "MPR.DLL";
constexpr char kChangeEntry[] = "PwdChangePasswordA";
constexpr char kProviderKey[] = "SCRSAVE";
static_assert(SPI_SETSCREENSAVERRUNNING == 97);

// The platform side of a close request: tick count, password query, cursor.
struct WindowCloseQuery {
    HWND window;
    std::uint32_t TickCount() { return GetTickCount(); }
    // The verifier runs inside this call; the window's procedures can be re-entered meanwhile.
    bool AskVerifier() { return SendMessageA(window, kPasswordQueryMessage, 0, 0) != 0; }
    void HideCursor() { SetCursor(nullptr); }
};

// True when the password flag reads as non-zero. The value is taken as a little-endian number
// of up to 4 bytes whatever its registry type; a longer value fails the query.
bool PasswordTurnedOn(HKEY key) {
    BYTE bytes[4] = {};
    DWORD size = sizeof bytes;
    if (RegQueryValueExA(key, kUsePasswordValue, nullptr, nullptr, bytes, &size) != ERROR_SUCCESS) {
        return false;
    }
    const std::uint32_t value = std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8U |
                                std::uint32_t{bytes[2]} << 16U | std::uint32_t{bytes[3]} << 24U;
    return value != 0;
}

}  // namespace

void SetSaverRunning(bool on) {
    if (!OnWin9x) {
        return;
    }
    UINT previous = 0;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, on ? 1U : 0U, &previous, 0);
}

void LoadPasswordVerifier() {
    if (!OnWin9x) {
        return;
    }
    if (VerifierModule != nullptr) {
        UnloadPasswordVerifier();
    }
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, kDesktopKey, &key) != ERROR_SUCCESS) {
        return;
    }
    if (!PasswordTurnedOn(key)) {
        RegCloseKey(key);
        return;
    }
    VerifierModule = LoadLibraryA(kVerifierModule);
    if (VerifierModule == nullptr) {
        RegCloseKey(key);
        return;
    }
    VerifierEntry =
        reinterpret_cast<VerifyScreenSavePwdEntry>(GetProcAddress(VerifierModule, kVerifierEntry));
    if (VerifierEntry != nullptr) {
        SetSaverRunning(true);
    } else {
        // Without the entry the saver-running state was never set, so it is left alone.
        UnloadPasswordVerifier();
    }
    RegCloseKey(key);
}

void UnloadPasswordVerifier() {
    if (!OnWin9x || VerifierModule == nullptr) {
        return;
    }
    FreeLibrary(VerifierModule);
    VerifierModule = nullptr;
    if (VerifierEntry != nullptr) {
        VerifierEntry = nullptr;
        SetSaverRunning(false);
    }
}

int ConfirmClose(HWND window) {
    WindowCloseQuery query{window};
    return ConfirmCloseSteps(VerifierEntry != nullptr, query);
}

void ChangeSaverPassword(HWND owner) {
    const HMODULE module = LoadLibraryA(kChangeModule);
    if (module == nullptr) {
        return;
    }
    const auto change =
        reinterpret_cast<PwdChangePasswordEntry>(GetProcAddress(module, kChangeEntry));
    if (change != nullptr) {
        change(kProviderKey, owner, 0, nullptr);
    }
    FreeLibrary(module);
}
