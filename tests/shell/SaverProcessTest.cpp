// The saver and the guard probe as processes, started with whole command lines; exit codes and
// the stand-ins' log are read back. Run in a Wine prefix of their own (its debugger setting is
// changed) and need an X display (scripts/with-xvfb).
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr DWORD kMinusOne = 0xFFFFFFFFU;

std::string ExecutableFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/"));
}

void SetRegistryValue(HKEY root, const char* key, const char* name, DWORD type, const void* value,
                      DWORD size, REGSAM view = 0) {
    HKEY handle = nullptr;
    ASSERT_EQ(
        RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_WRITE | view, nullptr, &handle, nullptr),
        ERROR_SUCCESS);
    RegSetValueExA(handle, name, 0, type, static_cast<const BYTE*>(value), size);
    RegCloseKey(handle);
}

// Runs the program to its end and returns its exit code; a settings dialog that comes up is
// cancelled, and a program still running after 30 s is ended with 99.
DWORD RunToEnd(std::string commandLine, const std::string& application) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    EXPECT_TRUE(CreateProcessA(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &info))
        << commandLine;
    for (int waited = 0; WaitForSingleObject(info.hProcess, 50) == WAIT_TIMEOUT; ++waited) {
        if (const HWND dialog = FindWindowA("#32770", "Zemlar configuration box")) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
        if (waited == 600) {
            TerminateProcess(info.hProcess, 99);
        }
    }
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return code;
}

class SaverProcess : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // A crash must reach the guard as EXCEPTION_EXECUTE_HANDLER: no debugger may attach, so
        // the one named here does not exist.
        static constexpr char kDebugger[] = "zemlar-no-debugger.exe %ld %ld";
        for (const REGSAM view : {REGSAM{KEY_WOW64_64KEY}, REGSAM{KEY_WOW64_32KEY}}) {
            SetRegistryValue(HKEY_LOCAL_MACHINE,
                             "Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug", "Debugger",
                             REG_SZ, kDebugger, sizeof kDebugger, view);
        }
    }

    void SetUp() override {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        workDirectory_ =
            std::string(temp) + "zemlar-process-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(workDirectory_.c_str(), nullptr);
        SetCurrentDirectoryA(workDirectory_.c_str());
        logPath_ = workDirectory_ + "\\standin.log";
        SetEnvironmentVariableA("ZEMLAR_STANDIN_LOG", logPath_.c_str());
    }
    void TearDown() override {
        DeleteFileA(logPath_.c_str());
        DeleteFileA((workDirectory_ + "\\ZemlarConf.cfg").c_str());
    }

    std::vector<std::string> TakeStandInLog() const {
        std::vector<std::string> lines;
        {
            std::ifstream in(logPath_);
            for (std::string line; std::getline(in, line);) {
                lines.push_back(line);
            }
        }
        DeleteFileA(logPath_.c_str());
        return lines;
    }

    std::string workDirectory_;
    std::string logPath_;
};

// The program name (quoted with spaces, or with its closing quote missing) is skipped as the
// platform's CharNextA steps over it; what follows decides.
TEST_F(SaverProcess, WholeCommandLinesEndWithTheirExitCodes) {
    const std::string spaced = workDirectory_ + "\\with space";
    CreateDirectoryA(spaced.c_str(), nullptr);
    const std::string saver = ExecutableFolder() + "\\zemlar.scr";
    const std::string spacedSaver = spaced + "\\zemlar x.scr";
    ASSERT_TRUE(CopyFileA(saver.c_str(), spacedSaver.c_str(), FALSE));
    const struct {
        std::string commandLine;
        DWORD exitCode;
    } cases[] = {
        {"\"" + spacedSaver + "\" /x", kMinusOne},
        {"\"" + spacedSaver + "\"   -?", kMinusOne},
        {"\"" + spacedSaver + " /s", 42},  // No closing quote: no argument text at all.
        {"\"" + spacedSaver + "\" /c:1234", 42},
        {"\"" + saver + "\" /\ts", kMinusOne},
        {"\"" + saver + "\" /p", kMinusOne},
        {"\"" + saver + "\" /p:1234", kMinusOne},
        {"\"" + saver + "\" /p letters", kMinusOne},
        {"\"" + saver + "\" /p 4294967296", kMinusOne},  // 2^32 wraps to 0: no window.
        {"\"" + saver + "\" /a 1234", kMinusOne},        // No password change on NT.
    };
    for (const auto& c : cases) {
        EXPECT_EQ(
            RunToEnd(c.commandLine,
                     c.commandLine.find(spacedSaver) != std::string::npos ? spacedSaver : saver),
            c.exitCode)
            << c.commandLine;
    }
    EXPECT_TRUE(TakeStandInLog().empty());
    DeleteFileA(spacedSaver.c_str());
    RemoveDirectoryA(spaced.c_str());
}

// The probe loads the verifier as the saver does on Windows 95/98, which switches the
// platform's screen-saver-running state on; an escaping fault must switch it off again.
TEST_F(SaverProcess, EscapingFaultEndsWithMinusOneAndTheStateOff) {
    const DWORD passwordOn = 1;
    SetRegistryValue(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword",
                     REG_DWORD, &passwordOn, sizeof passwordOn);
    const std::vector<std::string> escaped = {"password load", "probe running=1",
                                              "password unload at exit running=0"};
    const struct {
        const char* mode;
        DWORD exitCode;
        std::vector<std::string> log;
    } cases[] = {
        {"fault", kMinusOne, escaped},
        {"throw", kMinusOne, escaped},
        {"clean",
         3,
         {"password load", "probe running=1", "probe returned",
          "password unload at exit running=1"}},
    };
    const std::string probe = ExecutableFolder() + "\\guard-probe.exe";
    for (const auto& c : cases) {
        EXPECT_EQ(RunToEnd("\"" + probe + "\" " + c.mode, probe), c.exitCode) << c.mode;
        EXPECT_EQ(TakeStandInLog(), c.log) << c.mode;
    }
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword");
}

}  // namespace
