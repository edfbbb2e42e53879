#include <gtest/gtest.h>

#include <array>
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

// Each test runs in a fresh directory of its own, which is also the working directory.
class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = fs::current_path();
        std::random_device random;
        directory_ = fs::temp_directory_path() / ("zemlar-settings-" + std::to_string(random()));
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

    static void WriteFile(const Bytes& bytes) {
        std::ofstream out(kSettingsFileName, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    static Bytes ReadFile() {
        std::ifstream in(kSettingsFileName, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static Bytes Image(const SaverSettings& settings) {
        Bytes bytes(sizeof settings);
        std::memcpy(bytes.data(), &settings, sizeof settings);
        return bytes;
    }
    static SaverSettings FromImage(const Bytes& bytes) {
        SaverSettings settings;
        std::memcpy(&settings, bytes.data(), sizeof settings);
        return settings;
    }

    fs::path previous_;
    fs::path directory_;
};

TEST_F(SettingsFile, MissingFileGivesDefaultsAndSavesTheKnownImage) {
    SaverSettings settings{};
    LoadSettings(settings);
    EXPECT_EQ(settings.ClearScreen, 1);
    EXPECT_EQ(settings.DisplayInformations, 1);
    EXPECT_EQ(settings.IncZPos, 1);
    EXPECT_EQ(settings.FieldOfView, 40.0);
    EXPECT_EQ(settings.BallsPerLine, 9);
    SaveSettings(settings);
    EXPECT_EQ(ReadFile(), kDefaultImage);
    EXPECT_FALSE(fs::exists("ZemlarConf.cfg.new"));
}

TEST_F(SettingsFile, DefaultsLeaveReservedBytesAlone) {
    Bytes before(24, 0xAB);
    SaverSettings settings = FromImage(before);
    LoadSettings(settings);
    const Bytes after = Image(settings);
    EXPECT_EQ(Bytes(after.begin() + 3, after.begin() + 8), Bytes(5, 0xAB));
    EXPECT_EQ(Bytes(after.begin() + 20, after.end()), Bytes(4, 0xAB));
}

TEST_F(SettingsFile, ShortFileKeepsEarlierBytes) {
    WriteFile({});
    SaverSettings empty{};
    LoadSettings(empty);
    EXPECT_EQ(Image(empty), Bytes(24, 0));  // No defaults for an empty file.

    const Bytes ten = {2, 0, 1, 7, 7, 7, 7, 7, 0x11, 0x22};
    WriteFile(ten);
    SaverSettings settings{};
    LoadSettings(settings);
    Bytes expected(24, 0);
    std::copy(ten.begin(), ten.end(), expected.begin());
    EXPECT_EQ(Image(settings), expected);

    Bytes earlier(24, 0x5A);
    settings = FromImage(earlier);
    LoadSettings(settings);
    std::copy(ten.begin(), ten.end(), earlier.begin());
    EXPECT_EQ(Image(settings), earlier);
}

TEST_F(SettingsFile, LongFileIsReadForItsFirst24BytesAndCutBySave) {
    Bytes thirty(30);
    for (std::size_t i = 0; i < thirty.size(); ++i) {
        thirty[i] = static_cast<std::uint8_t>(i + 1);
    }
    WriteFile(thirty);
    SaverSettings settings{};
    LoadSettings(settings);
    EXPECT_EQ(Image(settings), Bytes(thirty.begin(), thirty.begin() + 24));
    SaveSettings(settings);
    EXPECT_EQ(ReadFile(), Bytes(thirty.begin(), thirty.begin() + 24));
}

TEST_F(SettingsFile, ReservedBytesAndOddFlagsRoundTrip) {
    Bytes image = kDefaultImage;
    image[0] = 2;  // Any non-zero flag counts as on; the file layer keeps it as it is.
    image[3] = 0xC3;
    image[7] = 0x01;
    image[20] = 0xFE;
    image[23] = 0x80;
    WriteFile(image);
    SaverSettings settings{};
    LoadSettings(settings);
    EXPECT_EQ(settings.ClearScreen, 2);
    SaveSettings(settings);
    EXPECT_EQ(ReadFile(), image);
}

TEST_F(SettingsFile, FieldsLieWhereTheFileHasThem) {
    Bytes image(24, 0);
    const double fov = 37.5;
    const std::int32_t balls = -5;
    std::memcpy(&image[8], &fov, 8);
    std::memcpy(&image[16], &balls, 4);
    WriteFile(image);
    SaverSettings settings{};
    LoadSettings(settings);
    EXPECT_EQ(settings.FieldOfView, 37.5);
    EXPECT_EQ(settings.BallsPerLine, -5);
}

TEST_F(SettingsFile, FileIsLookedForInTheWorkingDirectoryOnly) {
    WriteFile(Bytes(24, 0));
    fs::create_directory("elsewhere");
    fs::current_path("elsewhere");
    SaverSettings settings{};
    LoadSettings(settings);
    EXPECT_EQ(settings.BallsPerLine, 9);
    fs::current_path(directory_);
}

TEST_F(SettingsFile, UnwritableNameLeavesEverythingAsItWas) {
    // A directory where the file should be: nothing can be written under that name.
    fs::create_directory(kSettingsFileName);
    SaverSettings settings{};
    LoadSettings(settings);
    SaveSettings(settings);
    EXPECT_TRUE(fs::is_directory(kSettingsFileName));
    EXPECT_FALSE(fs::exists("ZemlarConf.cfg.new"));
}

#ifndef _WIN32
// Wine running as root opens read-only files for writing, and Windows lets programs create
// files in a directory marked read-only, so the permission checks run natively only; the code
// under test is the same in both builds.

// Runs a check as an unprivileged user where the tests run as root, since root may write
// read-only files and directories. Returns what the check returned.
template <typename Check>
bool AsUnprivilegedUser(Check check) {
    if (geteuid() == 0) {
        const pid_t child = fork();
        if (child == 0) {
            const bool dropped = setgid(65534) == 0 && setuid(65534) == 0;
            _exit(dropped && check() ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    return check();
}

TEST_F(SettingsFile, ReadOnlyFileIsNeitherReplacedNorChanged) {
    WriteFile(kDefaultImage);
    fs::permissions(directory_, fs::perms::all);
    fs::permissions(kSettingsFileName,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const bool unchanged = AsUnprivilegedUser([] {
        SaverSettings settings{};
        LoadSettings(settings);
        settings.BallsPerLine = 20;
        SaveSettings(settings);
        return ReadFile() == kDefaultImage && !fs::exists("ZemlarConf.cfg.new");
    });
    EXPECT_TRUE(unchanged);
}

// Windows lets programs create files in a directory marked read-only.
TEST_F(SettingsFile, ReadOnlyDirectoryGetsNoFile) {
    fs::permissions(directory_, fs::perms::owner_read | fs::perms::owner_exec |
                                    fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
    const bool nothingWritten = AsUnprivilegedUser([] {
        SaverSettings settings{};
        LoadSettings(settings);
        SaveSettings(settings);
        return !fs::exists(kSettingsFileName) && !fs::exists("ZemlarConf.cfg.new");
    });
    EXPECT_TRUE(nothingWritten);
}
#endif  // _WIN32

}  // namespace
