#pragma once

#include <cstddef>
#include <cstdint>

// The five user settings, laid out byte for byte as the settings file stores them
// (24 bytes, little-endian). The reserved bytes are never interpreted, only carried through.
struct SaverSettings {
    std::uint8_t ClearScreen;          // Non-zero: every frame starts from black.
    std::uint8_t DisplayInformations;  // Non-zero: the frame-rate panel is drawn.
    std::uint8_t IncZPos;              // Non-zero: the cube moves along the viewing axis.
    std::uint8_t reserved1[5];
    double FieldOfView;  // Degrees.
    std::int32_t BallsPerLine;
    std::uint8_t reserved2[4];
};

static_assert(sizeof(SaverSettings) == 24);
static_assert(offsetof(SaverSettings, ClearScreen) == 0);
static_assert(offsetof(SaverSettings, DisplayInformations) == 1);
static_assert(offsetof(SaverSettings, IncZPos) == 2);
static_assert(offsetof(SaverSettings, reserved1) == 3);
static_assert(offsetof(SaverSettings, FieldOfView) == 8);
static_assert(offsetof(SaverSettings, BallsPerLine) == 16);
static_assert(offsetof(SaverSettings, reserved2) == 20);

// The file's name, resolved against the current working directory at each call.
inline constexpr char kSettingsFileName[] = "ZemlarConf.cfg";

// The process's one settings record, zero-filled at start.
extern SaverSettings CurrentSettings;

// The five fields' defaults: black background, panel, camera movement, 40 degrees, 9 balls.
void ApplyDefaultSettings(SaverSettings& settings);

// Fills the record from the file's first 24 bytes; a shorter file overwrites only the bytes
// it has. Without a readable file the five fields take their defaults and the reserved bytes
// stay as they are.
void LoadSettings(SaverSettings& settings);

// The same reading from a file of any name. Returns false when the file could not be opened
// (the defaults were applied).
bool LoadSettingsFrom(const char* path, SaverSettings& settings);

// Writes the record as the whole file. The old file stays intact until the new 24 bytes are
// completely written; when the file cannot be written nothing changes and nothing is reported.
void SaveSettings(const SaverSettings& settings);
