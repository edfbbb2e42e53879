// Process-level tests: start the saver (and the guard probe) the way the display settings do,
// with whole command lines, and read exit codes, windows and the stand-ins' log. Run in a Wine
// prefix of their own (its debugger setting and per-program Windows version are changed) and
// need an X display (scripts/with-xvfb).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr DWORD kMinusOne = 0xFFFFFFFFU;  // Exit code -1.
constexpr DWORD kStillRunning = STILL_ACTIVE;
constexpr char kSaverClass[] = "WindowsSwreenSaverClass";
constexpr char kDialogTitle[] = "Zemlar configuration box";
constexpr char kWin98Saver[] = "zemlar98.scr";

std::string ExecutableFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/"));
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Waits for `done`, pumping this thread's messages (the saver may own windows of ours).
template <typename Condition>
bool WaitFor(Condition done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        PumpMessages();
        Sleep(20);
    }
    return true;
}

void SetRegistryString(HKEY root, const std::string& key, const char* name,
                       const std::string& value, REGSAM view = 0) {
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE | view, nullptr, &handle,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
}

void SetPasswordFlag(std::optional<DWORD> flag) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key), ERROR_SUCCESS);
    if (flag) {
        const DWORD value = *flag;
        RegSetValueExA(key, "ScreenSaveUsePassword", 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&value), sizeof value);
    } else {
        RegDeleteValueA(key, "ScreenSaveUsePassword");
    }
    RegCloseKey(key);
}

// A started program.
class Process {
  public:
    // `application` names the program when the command line cannot (an unclosed quote).
    explicit Process(std::string commandLine, const std::string& application = {}) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started_ =
            CreateProcessA(application.empty() ? nullptr : application.c_str(), commandLine.data(),
                           nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_) != FALSE;
    }
    ~Process() {
        if (started_) {
            if (ExitCode() == kStillRunning) {
                TerminateProcess(info_.hProcess, 99);
                WaitForSingleObject(info_.hProcess, 5000);
            }
            CloseHandle(info_.hThread);
            CloseHandle(info_.hProcess);
        }
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool started() const { return started_; }
    DWORD ExitCode() const {
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }
    // The exit code, or kStillRunning when the program has not ended within the time.
    DWORD Wait(DWORD timeoutMs) const {
        WaitFor([this] { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; },
                timeoutMs);
        return ExitCode();
    }

  private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

// A visible top-level window of the test's own, to own dialogs or to parent a preview.
class TestWindow {
  public:
    TestWindow(const char* title, DWORD style) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ZemlarProcessTestWindow";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, "ZemlarProcessTestWindow", title, style | WS_VISIBLE, 40, 40,
                                  240, 180, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        PumpMessages();
    }
    ~TestWindow() { Destroy(); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND window() const { return window_; }
    void Destroy() {
        if (window_ != nullptr) {
            DestroyWindow(window_);
            window_ = nullptr;
            PumpMessages();
        }
    }

  private:
    HWND window_ = nullptr;
};

class SaverProcess : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        bin_ = ExecutableFolder();
        win98_ = bin_ + "\\win98";
        // A crash must reach the saver's guard as EXCEPTION_EXECUTE_HANDLER: no debugger may
        // attach, so the one named here does not exist.
        for (const REGSAM view : {REGSAM{KEY_WOW64_64KEY}, REGSAM{KEY_WOW64_32KEY}}) {
            SetRegistryString(HKEY_LOCAL_MACHINE,
                              "Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug",
                              "Debugger", "zemlar-no-debugger.exe %ld %ld", view);
        }
        // A copy of the saver that Wine presents with Windows 98, beside the stand-in password
        // provider; Wine's own MPR.DLL gives way to the stand-in for it.
        const std::string app = "Software\\Wine\\AppDefaults\\" + std::string(kWin98Saver);
        SetRegistryString(HKEY_CURRENT_USER, app, "Version", "win98");
        SetRegistryString(HKEY_CURRENT_USER, app + "\\DllOverrides", "mpr", "native");
        ASSERT_TRUE(CopyFileA((bin_ + "\\zemlar.scr").c_str(), Win98Saver().c_str(), FALSE));
    }

    void SetUp() override {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        workDirectory_ =
            std::string(temp) + "zemlar-process-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(workDirectory_.c_str(), nullptr);
        SetCurrentDirectoryA(workDirectory_.c_str());
        logPath_ = workDirectory_ + "\\standin.log";
        DeleteFileA(logPath_.c_str());
        SetEnvironmentVariableA("ZEMLAR_STANDIN_LOG", logPath_.c_str());
        SetEnvironmentVariableA("ZEMLAR_VERIFIER_SCRIPT", "");
        SetPasswordFlag(std::nullopt);
    }
    void TearDown() override {
        SetPasswordFlag(std::nullopt);
        DeleteFileA(logPath_.c_str());
        DeleteFileA((workDirectory_ + "\\ZemlarConf.cfg").c_str());
    }

    static std::string Saver() { return bin_ + "\\zemlar.scr"; }
    static std::string Win98Saver() { return win98_ + "\\" + kWin98Saver; }

    std::vector<std::string> StandInLog() const {
        std::vector<std::string> lines;
        std::ifstream in(logPath_);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    static HWND FindSettingsDialog() { return FindWindowA("#32770", kDialogTitle); }
    static HWND FindFullScreenSaver() { return FindWindowA(kSaverClass, "Screen Saver"); }

    static std::string bin_;
    static std::string win98_;
    std::string workDirectory_;
    std::string logPath_;
};

std::string SaverProcess::bin_;
std::string SaverProcess::win98_;

TEST_F(SaverProcess, CommandLinesOutsideTheGrammarExitWithMinusOne) {
    // A quoted program name with spaces: only what follows the closing quote counts.
    const std::string spaced = workDirectory_ + "\\with space";
    CreateDirectoryA(spaced.c_str(), nullptr);
    const std::string spacedSaver = spaced + "\\zemlar x.scr";
    ASSERT_TRUE(CopyFileA(Saver().c_str(), spacedSaver.c_str(), FALSE));
    const std::vector<std::string> commandLines = {
        Quoted(Saver()) + " /x",
        Quoted(Saver()) + " /?",
        Quoted(Saver()) + " /1",
        Quoted(Saver()) + " /\ts",
        Quoted(Saver()) + " /p",
        Quoted(Saver()) + " /p 0",
        Quoted(Saver()) + " /p:1234",
        Quoted(Saver()) + " /p letters",
        Quoted(Saver()) + " /p 4294967296",  // 2^32 wraps to 0.
        Quoted(Saver()) + " /a",             // No password change outside Windows 95/98.
        Quoted(Saver()) + " /a 1234",
        Quoted(spacedSaver) + " /x",
        Quoted(spacedSaver) + "   -?",
    };
    for (const std::string& commandLine : commandLines) {
        Process saver(commandLine);
        ASSERT_TRUE(saver.started()) << commandLine;
        EXPECT_EQ(saver.Wait(20000), kMinusOne) << commandLine;
    }
    EXPECT_TRUE(StandInLog().empty());
    DeleteFileA(spacedSaver.c_str());
    RemoveDirectoryA(spaced.c_str());
}

TEST_F(SaverProcess, SettingsDialogOwnerFollowsTheSwitch) {
    TestWindow foreground("Zemlar test foreground", WS_OVERLAPPEDWINDOW);
    SetForegroundWindow(foreground.window());
    PumpMessages();
    const struct {
        std::string commandLine;
        HWND owner;
    } cases[] = {
        {Quoted(Saver()), nullptr},
        {Quoted(Saver()) + " /l", nullptr},
        {"\"" + Saver() + " /s", nullptr},  // No closing quote: no argument text at all.
        {Quoted(Saver()) + " /c", foreground.window()},
        {Quoted(Saver()) + " -C:1234", foreground.window()},
    };
    for (const auto& c : cases) {
        SetForegroundWindow(foreground.window());
        Process saver(c.commandLine, Saver());
        ASSERT_TRUE(saver.started()) << c.commandLine;
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (dialog = FindSettingsDialog()) != nullptr; }, 20000))
            << c.commandLine;
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), c.owner) << c.commandLine;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(saver.Wait(20000), 42U) << c.commandLine;
        WaitFor([] { return FindSettingsDialog() == nullptr; }, 5000);
    }
}

TEST_F(SaverProcess, FullScreenRunsUntilAKeyAndASecondStartEndsAtOnce) {
    Process first(Quoted(Saver()) + " /s");
    ASSERT_TRUE(first.started());
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (window = FindFullScreenSaver()) != nullptr; }, 30000));
    EXPECT_EQ(first.Wait(1000), kStillRunning);

    Process second(Quoted(Saver()) + " /S");
    EXPECT_EQ(second.Wait(20000), 0U);
    EXPECT_EQ(FindFullScreenSaver(), window);
    EXPECT_EQ(first.ExitCode(), kStillRunning);

    PostMessageA(window, WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(first.Wait(20000), 0U);
    EXPECT_EQ(FindFullScreenSaver(), nullptr);
}

TEST_F(SaverProcess, PreviewRunsInTheWindowItsWrappedHandleNames) {
    TestWindow parent("Zemlar test preview parent", WS_OVERLAPPEDWINDOW);
    const auto handle = static_cast<std::uint64_t>(reinterpret_cast<UINT_PTR>(parent.window()));
    Process saver(Quoted(Saver()) + " /p   " + std::to_string(handle + (1ULL << 32U)));
    ASSERT_TRUE(saver.started());
    HWND preview = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            return (preview = FindWindowExA(parent.window(), nullptr, kSaverClass, "Preview")) !=
                   nullptr;
        },
        30000));
    // Input does not end a preview; its parent going away does.
    PostMessageA(preview, WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(saver.Wait(1000), kStillRunning);
    parent.Destroy();
    EXPECT_EQ(saver.Wait(20000), 0U);
}

TEST_F(SaverProcess, PasswordChangeOnWin98PassesProviderAndOwner) {
    TestWindow foreground("Zemlar test foreground", WS_OVERLAPPEDWINDOW);
    SetForegroundWindow(foreground.window());
    PumpMessages();
    const auto owner = std::to_string(reinterpret_cast<UINT_PTR>(foreground.window()));
    TestWindow named("Zemlar test owner", WS_OVERLAPPEDWINDOW);
    const auto namedOwner = std::to_string(reinterpret_cast<UINT_PTR>(named.window()));
    SetForegroundWindow(foreground.window());
    PumpMessages();
    const struct {
        std::string arguments;
        std::string loggedOwner;
    } cases[] = {
        {" /a 1", owner},  // Not a window: the foreground window owns the change.
        {" /a", owner},
        {" -A   " + namedOwner, namedOwner},
    };
    for (const auto& c : cases) {
        DeleteFileA(logPath_.c_str());
        Process saver(Quoted(Win98Saver()) + c.arguments);
        ASSERT_TRUE(saver.started());
        EXPECT_EQ(saver.Wait(20000), 0U) << c.arguments;
        EXPECT_EQ(StandInLog(), (std::vector<std::string>{"change provider=SCRSAVE owner=" +
                                                          c.loggedOwner + " flags=0 info=0"}))
            << c.arguments;
    }
}

TEST_F(SaverProcess, Win98PasswordRefusesThenAcceptsAndUnloadsTheVerifier) {
    SetPasswordFlag(1);
    SetEnvironmentVariableA("ZEMLAR_VERIFIER_SCRIPT", "ny");
    Process saver(Quoted(Win98Saver()) + " /s");
    ASSERT_TRUE(saver.started());
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (window = FindFullScreenSaver()) != nullptr; }, 30000));

    PostMessageA(window, WM_KEYDOWN, 'A', 0);
    ASSERT_TRUE(WaitFor([&] { return StandInLog().size() >= 2; }, 10000));
    EXPECT_EQ(saver.Wait(500), kStillRunning);
    Sleep(300);
    PostMessageA(window, WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(saver.Wait(20000), 0U);
    EXPECT_EQ(StandInLog(), (std::vector<std::string>{"password load", "verify n", "verify y",
                                                      "password unload"}));
}

TEST_F(SaverProcess, EscapingFaultEndsWithMinusOneAndTheStateOff) {
    SetPasswordFlag(1);
    const struct {
        const char* mode;
        DWORD exitCode;
        std::vector<std::string> log;
    } cases[] = {
        {"fault",
         kMinusOne,
         {"password load", "probe running=1", "password unload at exit running=0"}},
        {"throw",
         kMinusOne,
         {"password load", "probe running=1", "password unload at exit running=0"}},
        {"clean",
         3,
         {"password load", "probe running=1", "probe returned",
          "password unload at exit running=1"}},
    };
    for (const auto& c : cases) {
        DeleteFileA(logPath_.c_str());
        Process probe(Quoted(bin_ + "\\guard-probe.exe") + " " + c.mode);
        ASSERT_TRUE(probe.started());
        EXPECT_EQ(probe.Wait(30000), c.exitCode) << c.mode;
        EXPECT_EQ(StandInLog(), c.log) << c.mode;
    }
}

}  // namespace
