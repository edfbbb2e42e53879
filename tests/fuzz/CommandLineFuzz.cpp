// Arbitrary bytes as the whole command line, program name included, through the argument-text
// skip and the switch scan as the Windows start routine uses them, with one-byte characters
// and with double-byte ones in the manner of CharNextA, on both kinds of platform. Every
// decision is held against a second, deliberately plain account of the grammar below: offsets
// into the text and a list of character starts instead of pointer walks with a step function.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "shell/CommandLine.h"

namespace {

// The double-byte code page the model assumes: a lead byte takes the byte after it along unless
// that is the terminator.
bool IsLeadByte(char byte) {
    return static_cast<unsigned char>(byte) >= 0x81 && static_cast<unsigned char>(byte) <= 0xFE;
}
const char* NextDoubleByteCharacter(const char* position) {
    return *position == '\0' ? position : position + (IsLeadByte(*position) && position[1] ? 2 : 1);
}

struct Decision {
    std::size_t argumentStart;
    SaverRun run;
    std::size_t restStart;  // Where the handle's digits are expected, or the deciding byte.
    std::uint32_t handle;   // Preview and PasswordChange only.
};

Decision Decide(std::string_view line, bool doubleByte, bool onWin9x) {
    std::vector<std::size_t> starts;  // Where characters start, then the terminator's offset.
    for (std::size_t at = 0; at < line.size();
         at += doubleByte && IsLeadByte(line[at]) && at + 1 < line.size() ? 2 : 1) {
        starts.push_back(at);
    }
    starts.push_back(line.size());
    const std::size_t characters = starts.size() - 1;
    const auto first = [&](std::size_t c) {  // The first byte of a character; 0 at the end.
        return c < characters ? static_cast<unsigned char>(line[starts[c]]) : 0U;
    };
    std::size_t c = 0;
    if (first(0) == '"') {  // A quoted name runs to the next quote, which the skip then takes.
        for (c = 1; c < characters && first(c) != '"'; ++c) {
        }
    } else {  // A bare name: every character above the blank.
        for (; c < characters && first(c) > 0x20U; ++c) {
        }
    }
    for (; c < characters && first(c) >= 0x01U && first(c) <= 0x22U; ++c) {
    }
    Decision d{starts[c], SaverRun::Settings, line.size(), 0};
    const std::string_view text = line.substr(d.argumentStart);
    const std::size_t letter = text.find_first_not_of(" -/lL");
    if (letter == std::string_view::npos) {
        return d;
    }
    d.restStart = d.argumentStart + letter;
    switch (text[letter] | 0x20) {  // Either case.
        case 's':
            d.run = SaverRun::FullScreen;
            return d;
        case 'c':
            d.run = SaverRun::SettingsOwnedByForeground;
            return d;
        case 'a':
            d.run = onWin9x ? SaverRun::PasswordChange : SaverRun::Refused;
            if (!onWin9x) {
                return d;
            }
            break;
        case 'p':
            d.run = SaverRun::Preview;
            break;
        default:
            d.run = SaverRun::Refused;
            return d;
    }
    // The handle follows after any number of spaces (tabs do not count), modulo 2^32.
    std::size_t digits = text.find_first_not_of(' ', letter + 1);
    digits = digits == std::string_view::npos ? text.size() : digits;
    d.restStart = d.argumentStart + digits;
    for (std::uint64_t value = 0;
         digits < text.size() && text[digits] >= '0' && text[digits] <= '9'; ++digits) {
        value = (value * 10U + static_cast<std::uint64_t>(text[digits] - '0')) %
                (std::uint64_t{1} << 32);
        d.handle = static_cast<std::uint32_t>(value);
    }
    return d;
}

// libFuzzer keeps the input that failed; the message says which way.
void Fail(const char* what, bool doubleByte, bool onWin9x) {
    std::fprintf(stderr, "command line grammar: %s (double-byte %d, Windows 95/98 %d)\n", what,
                 doubleByte, onWin9x);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The platform hands the command line over NUL-terminated, so an embedded NUL ends it.
    std::vector<char> buffer(data, data + size);
    buffer.push_back('\0');
    const std::string_view line(buffer.data());
    const char* const start = buffer.data();
    for (const bool doubleByte : {false, true}) {
        const char* argument = ArgumentText(start, doubleByte ? NextDoubleByteCharacter : NextByte);
        for (const bool onWin9x : {false, true}) {
            const Decision expected = Decide(line, doubleByte, onWin9x);
            const auto fail = [&](const char* what) { Fail(what, doubleByte, onWin9x); };
            if (argument != start + expected.argumentStart) {
                fail("argument text starts elsewhere");
            }
            const RunChoice choice = ChooseRun(argument, onWin9x);
            if (choice.run != expected.run || choice.rest != start + expected.restStart) {
                fail("another run chosen, or its rest starts elsewhere");
            }
            if ((choice.run == SaverRun::Preview || choice.run == SaverRun::PasswordChange) &&
                ParseDecimal(choice.rest) != expected.handle) {
                fail("another window handle");
            }
        }
    }
    return 0;
}
