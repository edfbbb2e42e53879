#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "res/ResourceIds.h"
#include "settings/SaverSettings.h"
#include "settings/SettingsDialog.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr UINT kRunAction = WM_APP + 7;

// What a test does with the open dialog; it must end it somehow.
std::function<void(HWND)> Action;

// Forwards everything to the dialog procedure under test and, once the dialog has opened,
// runs the test's action from inside the modal loop.
INT_PTR CALLBACK ScriptedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunAction) {
        Action(dialog);
        return TRUE;
    }
    const INT_PTR result = SettingsDialogProc(dialog, message, wParam, lParam);
    if (message == WM_INITDIALOG) {
        PostMessageA(dialog, kRunAction, 0, 0);
    }
    return result;
}

std::string Text(HWND dialog, int control) {
    char text[64] = {};
    GetDlgItemTextA(dialog, control, text, sizeof text);
    return text;
}

bool Checked(HWND dialog, int control) {
    return IsDlgButtonChecked(dialog, control) == BST_CHECKED;
}

Bytes Image(const SaverSettings& settings) {
    Bytes bytes(sizeof settings);
    std::memcpy(bytes.data(), &settings, sizeof settings);
    return bytes;
}

// Each test runs in a fresh working directory, where the dialog reads and writes the file.
class SettingsDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = fs::current_path();
        directory_ = fs::temp_directory_path() /
                     ("zemlar-dialog-" + std::to_string(GetCurrentProcessId()) + "-" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(directory_);
        fs::create_directories(directory_);
        fs::current_path(directory_);
        CurrentSettings = SaverSettings{};
    }
    void TearDown() override {
        fs::current_path(previous_);
        std::error_code error;
        fs::remove_all(directory_, error);
    }

    static INT_PTR RunDialog(std::function<void(HWND)> action) {
        Action = std::move(action);
        return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETTINGS), nullptr,
                               ScriptedDialogProc, 0);
    }

    static void WriteFile(const SaverSettings& settings) {
        const Bytes bytes = Image(settings);
        std::ofstream out(kSettingsFileName, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    static std::optional<Bytes> ReadFile() {
        if (!fs::exists(kSettingsFileName)) {
            return std::nullopt;
        }
        std::ifstream in(kSettingsFileName, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static SaverSettings ReadSettings() {
        SaverSettings settings{};
        const std::optional<Bytes> bytes = ReadFile();
        EXPECT_TRUE(bytes && bytes->size() == sizeof settings);
        if (bytes && bytes->size() == sizeof settings) {
            std::memcpy(&settings, bytes->data(), sizeof settings);
        }
        return settings;
    }

    static SaverSettings Settings(double fieldOfView, std::int32_t balls, std::uint8_t clear,
                                  std::uint8_t information, std::uint8_t incZ) {
        SaverSettings settings{};
        settings.ClearScreen = clear;
        settings.DisplayInformations = information;
        settings.IncZPos = incZ;
        settings.FieldOfView = fieldOfView;
        settings.BallsPerLine = balls;
        return settings;
    }

    fs::path previous_;
    fs::path directory_;
};

TEST_F(SettingsDialog, OpeningShowsTheFileValues) {
    struct Case {
        std::optional<SaverSettings> file;
        const char* fieldOfView;
        const char* balls;
        bool clear;
        bool information;
        bool incZ;
    };
    const Case cases[] = {
        {std::nullopt, "40", "9", true, true, true},  // No file: the defaults.
        {Settings(37.5, 11, 2, 0, 1), "37", "11", true, false, true},
        {Settings(-12.7, -3, 0, 1, 0), "-12", "-3", false, true, false},
        {Settings(std::numeric_limits<double>::quiet_NaN(), 0, 0, 0, 0), "0", "0", false, false,
         false},
        {Settings(1e300, 2147483647, 255, 128, 1), "0", "2147483647", true, true, true},
        {Settings(4294967296.0 + 40.0, 9, 1, 1, 1), "40", "9", true, true, true},
    };
    for (const Case& c : cases) {
        fs::remove(kSettingsFileName);
        if (c.file) {
            WriteFile(*c.file);
        }
        const std::optional<Bytes> before = ReadFile();
        const INT_PTR result = RunDialog([&](HWND dialog) {
            EXPECT_EQ(Text(dialog, IDC_FOV), c.fieldOfView);
            EXPECT_EQ(Text(dialog, IDC_BALLS_PER_LINE), c.balls);
            EXPECT_EQ(Checked(dialog, IDC_CLEAR_SCREEN), c.clear);
            EXPECT_EQ(Checked(dialog, IDC_DISPLAY_INFO), c.information);
            EXPECT_EQ(Checked(dialog, IDC_INC_Z_POS), c.incZ);
            // The model list is never filled nor enabled.
            const HWND model = GetDlgItem(dialog, IDC_MODEL);
            EXPECT_FALSE(IsWindowEnabled(model));
            EXPECT_EQ(SendMessageA(model, CB_GETCOUNT, 0, 0), 0);
            EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDOK);
            EndDialog(dialog, 0);  // Leave without the dialog's own paths.
        });
        EXPECT_EQ(result, 0);
        EXPECT_EQ(ReadFile(), before) << "field of view shown " << c.fieldOfView;
    }
}

TEST_F(SettingsDialog, OkStoresTheTypedValuesAndKeepsReservedBytes) {
    struct Case {
        const char* fieldOfViewText;
        const char* ballsText;
        double fieldOfView;
        std::int32_t balls;
    };
    const Case cases[] = {
        {"-5", "12", -5.0, 12},
        {"37", "0", 37.0, 0},
        {"letters", "", 0.0, 0},
        {"", "abc", 0.0, 0},
        {"99999999999", "-2147483647", 0.0, -2147483647},  // Beyond 32 bits: 0.
        {" 8", "  2", 8.0, 2},  // Leading blanks are the platform's to skip.
    };
    for (const Case& c : cases) {
        SaverSettings file = Settings(37.5, 9, 2, 1, 0);
        std::memset(file.reserved1, 0xA5, sizeof file.reserved1);
        std::memset(file.reserved2, 0x5A, sizeof file.reserved2);
        WriteFile(file);
        const INT_PTR result = RunDialog([&](HWND dialog) {
            SetDlgItemTextA(dialog, IDC_FOV, c.fieldOfViewText);
            SetDlgItemTextA(dialog, IDC_BALLS_PER_LINE, c.ballsText);
            CheckDlgButton(dialog, IDC_DISPLAY_INFO, BST_UNCHECKED);
            CheckDlgButton(dialog, IDC_INC_Z_POS, BST_CHECKED);
            SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        });
        EXPECT_EQ(result, kSettingsDialogResult);
        SaverSettings expected = file;
        expected.FieldOfView = c.fieldOfView;
        expected.BallsPerLine = c.balls;
        expected.ClearScreen = 1;  // A flag byte of 2 is written back as 1.
        expected.DisplayInformations = 0;
        expected.IncZPos = 1;
        EXPECT_EQ(ReadFile(), Image(expected))
            << "typed " << c.fieldOfViewText << " and " << c.ballsText;
    }
}

TEST_F(SettingsDialog, OkWithoutFileWritesTheDefaultsAndReopeningShowsThem) {
    EXPECT_EQ(RunDialog([](HWND dialog) {
                  SetDlgItemTextA(dialog, IDC_FOV, "-5");
                  // Enter activates the default button.
                  PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
              }),
              kSettingsDialogResult);
    const Bytes expected = {0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
                            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x14, 0xC0,  // -5.0
                            0x09, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(ReadFile(), expected);
    RunDialog([](HWND dialog) {
        EXPECT_EQ(Text(dialog, IDC_FOV), "-5");
        EndDialog(dialog, 0);
    });
}

TEST_F(SettingsDialog, CancelEscapeAndCloseBoxNeverWrite) {
    const struct {
        const char* name;
        std::function<void(HWND)> leave;
    } ways[] = {
        {"Cancel button",
         [](HWND dialog) { SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); }},
        {"Escape", [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"close box", [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const bool fileExists : {false, true}) {
        for (const auto& way : ways) {
            fs::remove(kSettingsFileName);
            if (fileExists) {
                WriteFile(Settings(37.5, 9, 1, 1, 1));
            }
            const std::optional<Bytes> before = ReadFile();
            const INT_PTR result = RunDialog([&](HWND dialog) {
                SetDlgItemTextA(dialog, IDC_FOV, "90");
                CheckDlgButton(dialog, IDC_CLEAR_SCREEN, BST_UNCHECKED);
                way.leave(dialog);
            });
            EXPECT_EQ(result, kSettingsDialogResult) << way.name;
            EXPECT_EQ(ReadFile(), before)
                << way.name << (fileExists ? " with" : " without") << " a file";
        }
    }
}

}  // namespace
