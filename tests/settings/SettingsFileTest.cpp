#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "settings/SaverSettings.h"
#include "settings/SettingsDialogRules.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif  // _WIN32

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kDefaults = {1, 1, 1,    0,    0, 0, 0, 0, 0, 0, 0, 0,
                         0, 0, 0x44, 0x40, 9, 0, 0, 0, 0, 0, 0, 0};

Bytes ReadFile() {
    std::ifstream in(kSettingsFileName, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
// Writes the file (or removes it, for none), loads it into a record that held `before`, saves
// that record again and returns the record's bytes.
Bytes LoadAndSave(const Bytes* file, const Bytes& before) {
    fs::remove(kSettingsFileName);
    if (file != nullptr) {
        std::ofstream(kSettingsFileName, std::ios::binary)
            .write(reinterpret_cast<const char*>(file->data()),
                   static_cast<std::streamsize>(file->size()));
    }
    SaverSettings settings;
    std::memcpy(&settings, before.data(), sizeof settings);
    LoadSettings(settings);
    SaveSettings(settings);
    Bytes loaded(sizeof settings);
    std::memcpy(loaded.data(), &settings, sizeof settings);
    return loaded;
}

// Each test runs in a fresh directory of its own, which is also the working directory.
class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(directory_);
        fs::current_path(directory_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        std::error_code error;
        fs::permissions(directory_, fs::perms::all, error);
        fs::remove_all(directory_, error);
    }
    const fs::path previous_ = fs::current_path();
    const fs::path directory_ =
        fs::temp_directory_path() / ("zemlar-settings-" + std::to_string(std::random_device()()));
};

// No file gives the defaults and leaves the reserved bytes; a short file fills only the bytes it
// has (an empty one gives no defaults); a longer one is read for its first 24 bytes. A save
// writes the record back exactly (flags of 2 and reserved bytes included), cut to 24 bytes.
TEST_F(SettingsFile, FileBytesOverlayTheRecordAndSaveBackExactly) {
    Bytes thirty(30), odd = kDefaults, ten = {2, 0, 1, 7, 7, 7, 7, 7, 0x11, 0x22},
                      tenOver(24, 0x5A), defaultsOver(24, 0x5A);
    std::iota(thirty.begin(), thirty.end(), std::uint8_t{1});
    odd[0] = 2;
    odd[3] = 0xC3;
    odd[20] = 0xFE;
    odd[23] = 0x80;
    std::copy(ten.begin(), ten.end(), tenOver.begin());
    std::copy(kDefaults.begin(), kDefaults.begin() + 3, defaultsOver.begin());
    std::copy(kDefaults.begin() + 8, kDefaults.begin() + 20, defaultsOver.begin() + 8);
    const Bytes empty;
    const struct {
        const Bytes* file;
        Bytes before, loaded;
    } cases[] = {
        {nullptr, Bytes(24, 0), kDefaults},
        {nullptr, Bytes(24, 0x5A), defaultsOver},
        {&empty, Bytes(24, 0x5A), Bytes(24, 0x5A)},
        {&ten, Bytes(24, 0x5A), tenOver},
        {&thirty, Bytes(24, 0), Bytes(thirty.begin(), thirty.begin() + 24)},
        {&odd, Bytes(24, 0), odd},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LoadAndSave(c.file, c.before), c.loaded) << (c.file ? c.file->size() : 99);
        EXPECT_EQ(ReadFile(), c.loaded) << (c.file ? c.file->size() : 99);
        EXPECT_FALSE(fs::exists("ZemlarConf.cfg.new"));
    }
}

// A directory where the file should be: nothing can be written under that name.
TEST_F(SettingsFile, UnwritableNameLeavesEverythingAsItWas) {
    fs::create_directory(kSettingsFileName);
    SaveSettings(SaverSettings{});
    EXPECT_TRUE(fs::is_directory(kSettingsFileName));
    EXPECT_FALSE(fs::exists("ZemlarConf.cfg.new"));
}

// Truncated toward zero to 64 bits, then the low 32 bits read as signed; NaN and values outside
// the 64-bit range show 0.
TEST(SettingsDialogRules, FieldOfViewShowsTruncatedLow32Bits) {
    const std::pair<double, std::int32_t> cases[] = {
        {37.5, 37},
        {-12.7, -12},
        {2147483648.0, -2147483647 - 1},
        {9223372036854774784.0, -1024},  // The largest double below 2^63.
        {-9223372036854775808.0, 0},     // -2^63 is in range; its low 32 bits are zero.
        {9223372036854775808.0, 0},      // 2^63 is not.
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const auto& [fieldOfView, shown] : cases) {
        EXPECT_EQ(FieldOfViewShown(fieldOfView), shown) << fieldOfView;
    }
    EXPECT_EQ(FieldOfViewTyped(static_cast<std::uint32_t>(-5)), -5.0);
    EXPECT_EQ(FieldOfViewTyped(0x80000000U), -2147483648.0);
}

#ifndef _WIN32
// Wine running as root writes read-only files, and Windows lets programs create files in a
// directory marked read-only, so this runs natively only (the code is the same in both builds).
// Root may write anything: where the tests run as root, the save runs as an unprivileged user.
TEST_F(SettingsFile, ReadOnlyFileOrDirectoryGetsNothingWritten) {
    const auto saveAsUser = [] {
        const pid_t child = fork();
        if (child == 0) {
            const bool dropped = geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0);
            if (dropped) {
                SaveSettings(SaverSettings{0, 0, 0, {}, 1.0, 20, {}});
            }
            _exit(dropped ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    };
    constexpr auto kReadOnly =
        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    constexpr auto kExec = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    LoadAndSave(nullptr, Bytes(24, 0));
    fs::permissions(directory_, fs::perms::all);
    fs::permissions(kSettingsFileName, kReadOnly);
    ASSERT_TRUE(saveAsUser());
    EXPECT_EQ(ReadFile(), kDefaults);
    fs::remove(kSettingsFileName);
    fs::permissions(directory_, kReadOnly | kExec);
    ASSERT_TRUE(saveAsUser());
    EXPECT_FALSE(fs::exists(kSettingsFileName));
    EXPECT_FALSE(fs::exists("ZemlarConf.cfg.new"));
}
#endif  // _WIN32

}  // namespace
