#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
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

INT_PTR RunDialog(std::function<void(HWND)> action) {
    Action = std::move(action);
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETTINGS), nullptr,
                           ScriptedDialogProc, 0);
}

std::string Text(HWND dialog, int control) {
    char text[64] = {};
    GetDlgItemTextA(dialog, control, text, sizeof text);
    return text;
}

Bytes Image(const SaverSettings& settings) {
    Bytes bytes(sizeof settings);
    std::memcpy(bytes.data(), &settings, sizeof settings);
    return bytes;
}

// The file's bytes; empty when there is no file.
Bytes ReadFile() {
    std::ifstream in(kSettingsFileName, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Replaces the file by these settings, or removes it for none.
void WriteFile(const SaverSettings* settings) {
    fs::remove(kSettingsFileName);
    if (settings != nullptr) {
        const Bytes bytes = Image(*settings);
        std::ofstream(kSettingsFileName, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
}

// Each test runs in a fresh working directory, where the dialog reads and writes the file.
class SettingsDialog : public ::testing::Test {
  protected:
    void SetUp() override {
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

    const fs::path previous_ = fs::current_path();
    const fs::path directory_ = fs::temp_directory_path() /
                                ("zemlar-dialog-" + std::to_string(GetCurrentProcessId()) + "-" +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(SettingsDialog, OpeningShowsTheFileValuesAndWritesNothing) {
    const SaverSettings files[] = {{2, 0, 1, {}, 37.5, 11, {}}, {0, 1, 0, {}, -12.7, -3, {}}};
    const struct {
        const SaverSettings* file;
        const char *fieldOfView, *balls;
        UINT clear, information, incZ;
    } cases[] = {
        {nullptr, "40", "9", BST_CHECKED, BST_CHECKED, BST_CHECKED},  // No file: the defaults.
        {&files[0], "37", "11", BST_CHECKED, BST_UNCHECKED, BST_CHECKED},
        {&files[1], "-12", "-3", BST_UNCHECKED, BST_CHECKED, BST_UNCHECKED},
    };
    for (const auto& c : cases) {
        WriteFile(c.file);
        const Bytes before = ReadFile();
        EXPECT_EQ(RunDialog([&](HWND dialog) {
                      EXPECT_EQ(Text(dialog, IDC_FOV), c.fieldOfView);
                      EXPECT_EQ(Text(dialog, IDC_BALLS_PER_LINE), c.balls);
                      EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CLEAR_SCREEN), c.clear);
                      EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_DISPLAY_INFO), c.information);
                      EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_INC_Z_POS), c.incZ);
                      // The model list is never filled nor enabled; OK has the focus.
                      const HWND model = GetDlgItem(dialog, IDC_MODEL);
                      EXPECT_FALSE(IsWindowEnabled(model));
                      EXPECT_EQ(SendMessageA(model, CB_GETCOUNT, 0, 0), 0);
                      EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDOK);
                      EndDialog(dialog, 0);  // Leave without the dialog's own paths.
                  }),
                  0);
        EXPECT_EQ(ReadFile(), before) << "field of view shown " << c.fieldOfView;
    }
}

TEST_F(SettingsDialog, OkStoresTheTypedValuesAndKeepsReservedBytes) {
    const struct {
        const char *fieldOfViewText, *ballsText;
        double fieldOfView;
        std::int32_t balls;
    } cases[] = {
        {"-5", "0", -5.0, 0},
        {"letters", "", 0.0, 0},
        {"99999999999", "-2147483647", 0.0, -2147483647},  // Beyond 32 bits: 0.
    };
    for (const auto& c : cases) {
        SaverSettings file{2, 1, 0, {}, 37.5, 9, {}};
        std::memset(file.reserved1, 0xA5, sizeof file.reserved1);
        std::memset(file.reserved2, 0x5A, sizeof file.reserved2);
        WriteFile(&file);
        EXPECT_EQ(RunDialog([&](HWND dialog) {
                      SetDlgItemTextA(dialog, IDC_FOV, c.fieldOfViewText);
                      SetDlgItemTextA(dialog, IDC_BALLS_PER_LINE, c.ballsText);
                      CheckDlgButton(dialog, IDC_DISPLAY_INFO, BST_UNCHECKED);
                      CheckDlgButton(dialog, IDC_INC_Z_POS, BST_CHECKED);
                      SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
                  }),
                  kSettingsDialogResult);
        SaverSettings expected = file;
        expected.FieldOfView = c.fieldOfView;
        expected.BallsPerLine = c.balls;
        expected.ClearScreen = 1;  // A flag byte of 2 is written back as 1.
        expected.DisplayInformations = 0;
        expected.IncZPos = 1;
        EXPECT_EQ(ReadFile(), Image(expected)) << c.fieldOfViewText << ", " << c.ballsText;
    }
    // Without a file, Enter (the default button) writes the defaults with what was typed.
    WriteFile(nullptr);
    CurrentSettings = SaverSettings{};
    EXPECT_EQ(RunDialog([](HWND dialog) {
                  SetDlgItemTextA(dialog, IDC_FOV, "-5");
                  PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
              }),
              kSettingsDialogResult);
    EXPECT_EQ(ReadFile(), Image(SaverSettings{1, 1, 1, {}, -5.0, 9, {}}));
}

TEST_F(SettingsDialog, CancelEscapeAndCloseBoxNeverWrite) {
    const std::function<void(HWND)> ways[] = {
        [](HWND dialog) { SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); },
        [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0); },
        [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    const SaverSettings file{1, 1, 1, {}, 37.5, 9, {}};
    for (const SaverSettings* existing : {static_cast<const SaverSettings*>(nullptr), &file}) {
        for (int way = 0; way < 3; ++way) {
            WriteFile(existing);
            const Bytes before = ReadFile();
            EXPECT_EQ(RunDialog([&](HWND dialog) {
                          SetDlgItemTextA(dialog, IDC_FOV, "90");
                          CheckDlgButton(dialog, IDC_CLEAR_SCREEN, BST_UNCHECKED);
                          ways[way](dialog);
                      }),
                      kSettingsDialogResult)
                << "way " << way;
            EXPECT_EQ(ReadFile(), before)
                << "way " << way << (existing ? " with" : " without") << " a file";
        }
    }
}

}  // namespace
