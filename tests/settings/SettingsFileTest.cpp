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

const Bytes kDefaultImage = {0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
                             0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x44, 0x40,
                             0x09, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

void WriteFile(const Bytes& bytes) {
    std::ofstream(kSettingsFileName, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}
Bytes ReadFile() {
    std::ifstream in(kSettingsFileName, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
Bytes Image(const SaverSettings& settings) {
    Bytes bytes(sizeof settings);
    std::memcpy(bytes.data(), &settings, sizeof settings);
    return bytes;
}
// Loads the file into a record that held the given bytes before.
SaverSettings Loaded(const Bytes& before) {
    SaverSettings settings;
    std::memcpy(&settings, before.data(), sizeof settings);
    LoadSettings(settings);
    return settings;
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
        fs::permissions(directory_ / kSettingsFileName, fs::perms::all, error);
        fs::remove_all(directory_, error);
    }

    const fs::path previous_ = fs::current_path();
    const fs::path directory_ =
        fs::temp_directory_path() / ("zemlar-settings-" + std::to_string(std::random_device()()));
};

TEST_F(SettingsFile, MissingFileGivesDefaultsAndSavesTheKnownImage) {
    SaveSettings(Loaded(Bytes(24, 0)));
    EXPECT_EQ(ReadFile(), kDefaultImage);
    EXPECT_FALSE(fs::exists("ZemlarConf.cfg.new"));
    // Defaults leave the reserved bytes alone; a file found elsewhere is not read.
    fs::create_directory("elsewhere");
    fs::current_path("elsewhere");
    Bytes expected = kDefaultImage;
    std::fill(expected.begin() + 3, expected.begin() + 8, 0xAB);
    std::fill(expected.begin() + 20, expected.end(), 0xAB);
    EXPECT_EQ(Image(Loaded(Bytes(24, 0xAB))), expected);
}

// A short file fills only the bytes it has (an empty one gives no defaults); a longer one is
// read for its first 24 bytes, and a save cuts it to 24. Flags of 2 and reserved bytes travel
// through unchanged.
TEST_F(SettingsFile, FileBytesOverlayTheRecordAndSaveBackExactly) {
    Bytes thirty(30), odd = kDefaultImage;
    for (std::size_t i = 0; i < thirty.size(); ++i) {
        thirty[i] = static_cast<std::uint8_t>(i + 1);
    }
    odd[0] = 2;
    odd[3] = 0xC3;
    odd[7] = 0x01;
    odd[20] = 0xFE;
    odd[23] = 0x80;
    const Bytes ten = {2, 0, 1, 7, 7, 7, 7, 7, 0x11, 0x22};
    Bytes tenOver(24, 0x5A);
    std::copy(ten.begin(), ten.end(), tenOver.begin());
    const struct {
        Bytes file, before, loaded;
    } cases[] = {
        {{}, Bytes(24, 0), Bytes(24, 0)},
        {{}, Bytes(24, 0x5A), Bytes(24, 0x5A)},
        {ten, Bytes(24, 0x5A), tenOver},
        {thirty, Bytes(24, 0), Bytes(thirty.begin(), thirty.begin() + 24)},
        {odd, Bytes(24, 0), odd},
    };
    for (const auto& c : cases) {
        WriteFile(c.file);
        const SaverSettings settings = Loaded(c.before);
        EXPECT_EQ(Image(settings), c.loaded) << c.file.size() << " bytes";
        SaveSettings(settings);
        EXPECT_EQ(ReadFile(), c.loaded) << c.file.size() << " bytes";
    }
}

TEST_F(SettingsFile, UnwritableNameLeavesEverythingAsItWas) {
    // A directory where the file should be: nothing can be written under that name.
    fs::create_directory(kSettingsFileName);
    SaveSettings(Loaded(Bytes(24, 0)));
    EXPECT_TRUE(fs::is_directory(kSettingsFileName));
    EXPECT_FALSE(fs::exists("ZemlarConf.cfg.new"));
}

#ifndef _WIN32
// Wine running as root opens read-only files for writing, and Windows lets programs create
// files in a directory marked read-only, so the permission checks run natively only; the code
// under test is the same in both builds. Root may write anything, so the save runs as an
// unprivileged user in a child process where the tests run as root.
bool SavedAsUnprivilegedUser() {
    const auto save = [] {
        SaverSettings settings = Loaded(Bytes(24, 0));
        settings.BallsPerLine = 20;
        SaveSettings(settings);
    };
    if (geteuid() != 0) {
        save();
        return true;
    }
    const pid_t child = fork();
    if (child == 0) {
        const bool dropped = setgid(65534) == 0 && setuid(65534) == 0;
        if (dropped) {
            save();
        }
        _exit(dropped ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(SettingsFile, ReadOnlyFileOrDirectoryGetsNothingWritten) {
    constexpr auto kReadOnly =
        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    constexpr auto kExec = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    WriteFile(kDefaultImage);
    fs::permissions(directory_, fs::perms::all);
    fs::permissions(kSettingsFileName, kReadOnly);
    ASSERT_TRUE(SavedAsUnprivilegedUser());
    EXPECT_EQ(ReadFile(), kDefaultImage);
    EXPECT_FALSE(fs::exists("ZemlarConf.cfg.new"));

    fs::remove(kSettingsFileName);
    fs::permissions(directory_, kReadOnly | kExec);
    ASSERT_TRUE(SavedAsUnprivilegedUser());
    EXPECT_FALSE(fs::exists(kSettingsFileName));
    EXPECT_FALSE(fs::exists("ZemlarConf.cfg.new"));
}
#endif  // _WIN32

}  // namespace
