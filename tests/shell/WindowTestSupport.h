#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "SceneStandIns.h"
#include "shell/CloseConfirmation.h"
#include "shell/Password.h"
#include "shell/ProcessGlobals.h"
#include "shell/SaverFlags.h"
#include "shell/SaverWindow.h"

// Shared set-up of the tests that run the saver window in this process: every process-wide flag
// back to its start value, the stand-in DLLs' folder on the DLL search path, a fresh stand-in
// log, and no password flag in the registry.
class SaverWindowTest : public ::testing::Test {
  protected:
    static constexpr char kClassName[] = "WindowsSwreenSaverClass";
    static constexpr char kDesktopKey[] = "Control Panel\\Desktop";
    static constexpr char kUsePassword[] = "ScreenSaveUsePassword";

    void SetUp() override {
        SaverInstance = GetModuleHandleA(nullptr);
        OnWin9x = FALSE;
        IsPreview = 0;
        CloseAccepted = 0;
        CheckingPassword = 0;
        LastCheckTick = kNoQueryYet;
        SaverWindow = nullptr;
        VerifierModule = nullptr;
        VerifierEntry = nullptr;
        standins::Reset();

        const std::string bin = ExecutableFolder();
        SetDllDirectoryA((bin + "\\win98").c_str());
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        logPath_ =
            std::string(temp) + "zemlar-standin-" + std::to_string(GetCurrentProcessId()) + ".log";
        DeleteFileA(logPath_.c_str());
        SetEnvironmentVariableA("ZEMLAR_STANDIN_LOG", logPath_.c_str());
        SetEnvironmentVariableA("ZEMLAR_VERIFIER_SCRIPT", "");
        SetPasswordFlag(std::nullopt);
        SetSaverRunningState(false);
    }

    void TearDown() override {
        UnregisterClassA(kClassName, GetModuleHandleA(nullptr));
        SetPasswordFlag(std::nullopt);
        DeleteFileA(logPath_.c_str());
        SetDllDirectoryA(nullptr);
        OnWin9x = FALSE;
        IsPreview = 0;
    }

    static std::string ExecutableFolder() {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, sizeof path);
        std::string folder(path);
        return folder.substr(0, folder.find_last_of("\\/"));
    }

    // The registry's password flag: a 32-bit number, or no value at all.
    static void SetPasswordFlag(std::optional<DWORD> flag) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kDesktopKey, &key), ERROR_SUCCESS);
        if (flag) {
            const DWORD value = *flag;
            RegSetValueExA(key, kUsePassword, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                           sizeof value);
        } else {
            RegDeleteValueA(key, kUsePassword);
        }
        RegCloseKey(key);
    }

    static bool SaverRunningState() {
        BOOL running = FALSE;
        SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
        return running != FALSE;
    }

    static void SetSaverRunningState(bool on) {
        UINT previous = 0;
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, on ? 1U : 0U, &previous, 0);
    }

    // The lines the stand-in DLLs logged so far.
    std::vector<std::string> StandInLog() const {
        std::vector<std::string> lines;
        std::ifstream in(logPath_);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    static bool CloseQueued(HWND window) {
        MSG message;
        return PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != 0;
    }

    static bool VerifierInProcess() { return GetModuleHandleA("PASSWORD.CPL") != nullptr; }

    std::string logPath_;
};
