#pragma once

#include <cstdint>
#include <string>

#include "settings/SaverSettings.h"

// The command line in XScreenSaver's conventions, free of X.

// Between frames. Fifty frames a second at most: smooth for a cube that turns a degree or two
// a frame, while a typical machine spends a few per cent of one core on it.
inline constexpr std::int64_t kDefaultDelayMicroseconds = 20000;

enum class DrawTarget { OwnWindow, Root, WindowId };

struct SaverOptions {
    DrawTarget target = DrawTarget::OwnWindow;
    std::uint64_t windowId = 0;
    std::int64_t delayMicroseconds = kDefaultDelayMicroseconds;
    std::string displayName;  // Empty: the DISPLAY environment variable's.
    SaverSettings settings{};
    bool help = false;
};

// Fills options from the arguments after the program name, left to right: -settings reads its
// file at that point, and later options change what it read. environmentWindow is the value of
// XSCREENSAVER_WINDOW (null when unset); when set it names the window, whatever else was
// asked for. Returns an empty string, or what was wrong.
std::string ParseOptions(int count, const char* const* arguments, const char* environmentWindow,
                         SaverOptions& options);

// The short usage text, one option a line.
std::string Usage(const char* program);
