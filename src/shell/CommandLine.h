#pragma once

#include <cstdint>

// The command-line grammar of the saver, free of the platform so that it runs anywhere.
// Windows passes its CharNextA as the step; elsewhere the one-byte step does.

// Returns the position of the character after the one at `position`; at the terminating NUL it
// returns `position` itself.
using CharStep = const char* (*)(const char* position);

// The one-byte step: every byte is a character of its own.
const char* NextByte(const char* position);

// Skips the program name and the blanks, quotes and control bytes after it and returns the
// argument text that remains (a suffix of `commandLine`, possibly empty).
const char* ArgumentText(const char* commandLine, CharStep step);

// The value of the decimal digits at the start of `text`, modulo 2^32; 0 without a leading digit.
std::uint32_t ParseDecimal(const char* text);

// The run that the first switch letter asks for.
enum class SaverRun {
    Settings,                   // End of text: the settings dialog without owner.
    SettingsOwnedByForeground,  // "c": the settings dialog owned by the foreground window.
    FullScreen,                 // "s": the full-screen saver.
    Preview,                    // "p": the preview inside the window whose handle follows.
    PasswordChange,             // "a" on Windows 95/98: the platform's password change.
    Refused,                    // Any other byte, or "a" elsewhere: nothing runs.
};

struct RunChoice {
    SaverRun run;
    // For Preview and PasswordChange: the text after the letter and the spaces that follow it,
    // where the window handle's digits are expected. Otherwise the position of the deciding byte.
    const char* rest;
};

// Scans the argument text byte by byte: blanks, "-", "/" and "l" are skipped, and the first other
// byte decides. `onWin9x` tells whether the password change exists on this platform.
RunChoice ChooseRun(const char* argumentText, bool onWin9x);
