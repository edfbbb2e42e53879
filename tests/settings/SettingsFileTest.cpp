#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "settings/SaverSettings.h"

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
                      tenOver(24, 0x5A), defaultsOver = kDefaults;
    for (std::size_t i = 0; i < thirty.size(); ++i) {
        thirty[i] = static_cast<std::uint8_t>(i + 1);
    }
    odd[0] = 2;
    odd[3] = 0xC3;
    odd[20] = 0xFE;
    odd[23] = 0x80;
    std::copy(ten.begin(), ten.end(), tenOver.begin());
    std::fill(defaultsOver.begin() + 3, defaultsOver.begin() + 8, 0x5A);
    std::fill(defaultsOver.begin() + 20, defaultsOver.end(), 0x5A);
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
