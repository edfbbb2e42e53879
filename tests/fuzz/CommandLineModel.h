#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// A second, deliberately plain account of the saver's command-line grammar: offsets into a
// string_view and a list of character boundaries instead of pointer walks with a step function.
// The fuzzer holds the product's decisions against it, so it must not share code with it.

namespace model {

enum class Mode {
    Settings,
    SettingsOwnedByForeground,
    FullScreen,
    Preview,
    PasswordChange,
    Refused,
};

struct Decision {
    std::size_t argumentStart;  // Where the argument text starts in the command line.
    Mode mode;
    // Preview and PasswordChange: where the handle's digits are expected. Otherwise: the byte
    // that decided (the terminator's offset when the text ran out).
    std::size_t restStart;
    std::uint32_t handle;  // Preview and PasswordChange only; 0 otherwise.
};

// A lead byte of the double-byte code page that the model assumes: it joins the byte after it
// into one character unless that byte is the terminator.
bool IsLeadByte(unsigned char byte);

// `line` is the command line up to (not including) its terminator. With doubleByte, lead bytes
// pair up as in a double-byte code page; otherwise every byte is a character.
Decision Decide(std::string_view line, bool doubleByte, bool onWin9x);

}  // namespace model
