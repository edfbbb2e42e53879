#include <bit>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "settings/SaverSettings.h"

static_assert(std::endian::native == std::endian::little,
              "the record is stored as it lies in memory");

SaverSettings CurrentSettings;

namespace {

// The new contents go here first, in the same directory, so that the replacement is a rename.
constexpr char kPendingFileName[] = "ZemlarConf.cfg.new";

// A settings file that exists but refuses writing (read-only) must be left as it is, even
// where the directory would let a rename replace it.
bool ExistingFileRefusesWriting() {
    std::error_code error;
    if (!std::filesystem::exists(kSettingsFileName, error)) {
        return false;
    }
    std::FILE* file = std::fopen(kSettingsFileName, "r+b");
    if (file == nullptr) {
        return true;
    }
    std::fclose(file);
    return false;
}

bool WritePendingFile(const SaverSettings& settings) {
    std::FILE* file = std::fopen(kPendingFileName, "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(&settings, sizeof settings, 1, file) == 1;
    const bool flushed = std::fflush(file) == 0;
    const bool closed = std::fclose(file) == 0;
    return written && flushed && closed;
}

}  // namespace

void ApplyDefaultSettings(SaverSettings& settings) {
    settings.ClearScreen = 1;
    settings.DisplayInformations = 1;
    settings.IncZPos = 1;
    settings.FieldOfView = 40.0;
    settings.BallsPerLine = 9;
}

void LoadSettings(SaverSettings& settings) {
    static_cast<void>(LoadSettingsFrom(kSettingsFileName, settings));
}

bool LoadSettingsFrom(const char* path, SaverSettings& settings) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        ApplyDefaultSettings(settings);
        return false;
    }
    // Read as single bytes so that a short file's bytes are defined to land in the record;
    // the bytes it does not supply keep their earlier values.
    static_cast<void>(std::fread(&settings, 1, sizeof settings, file));
    std::fclose(file);
    return true;
}

void SaveSettings(const SaverSettings& settings) {
    if (ExistingFileRefusesWriting()) {
        return;
    }
    std::error_code error;
    if (!WritePendingFile(settings)) {
        std::filesystem::remove(kPendingFileName, error);
        return;
    }
    std::filesystem::rename(kPendingFileName, kSettingsFileName, error);
    if (error) {
        std::filesystem::remove(kPendingFileName, error);
    }
}
