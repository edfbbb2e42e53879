// Arbitrary bytes as the whole command line, program name included, through the argument-text
// skip and the switch scan exactly as the Windows start routine uses them. Every decision is
// held against the plain model of the grammar, with one-byte characters and with double-byte
// characters in the manner of CharNextA, and on both kinds of platform.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "CommandLineModel.h"
#include "shell/CommandLine.h"

namespace {

// CharNextA on a double-byte code page, with the model's lead bytes: a lead byte takes the byte
// after it along unless that is the terminator, and the terminator is never passed.
const char* NextDoubleByteCharacter(const char* position) {
    if (*position == '\0') {
        return position;
    }
    if (model::IsLeadByte(static_cast<unsigned char>(*position)) && position[1] != '\0') {
        return position + 2;
    }
    return position + 1;
}

model::Mode AsModelMode(SaverRun run) {
    switch (run) {
        case SaverRun::Settings:
            return model::Mode::Settings;
        case SaverRun::SettingsOwnedByForeground:
            return model::Mode::SettingsOwnedByForeground;
        case SaverRun::FullScreen:
            return model::Mode::FullScreen;
        case SaverRun::Preview:
            return model::Mode::Preview;
        case SaverRun::PasswordChange:
            return model::Mode::PasswordChange;
        case SaverRun::Refused:
            return model::Mode::Refused;
    }
    std::fprintf(stderr, "ChooseRun returned a run outside the enumeration\n");
    std::abort();
}

void Require(bool holds, const char* what, std::string_view line, bool doubleByte, bool onWin9x) {
    if (holds) {
        return;
    }
    std::fprintf(stderr, "command line grammar: %s (double-byte %d, Windows 95/98 %d)\n", what,
                 doubleByte ? 1 : 0, onWin9x ? 1 : 0);
    for (const char byte : line) {
        std::fprintf(stderr, "\\x%02X", static_cast<unsigned>(static_cast<unsigned char>(byte)));
    }
    std::fprintf(stderr, "\n");
    std::abort();
}

void CheckOneStep(const std::vector<char>& buffer, std::string_view line, bool doubleByte) {
    const char* const start = buffer.data();
    const char* const argument =
        ArgumentText(start, doubleByte ? NextDoubleByteCharacter : NextByte);
    // The argument text is a suffix of the command line, never beyond its terminator.
    Require(argument >= start && argument <= start + line.size(), "argument text out of bounds",
            line, doubleByte, false);
    const auto argumentStart = static_cast<std::size_t>(argument - start);

    for (const bool onWin9x : {false, true}) {
        const model::Decision expected = model::Decide(line, doubleByte, onWin9x);
        Require(argumentStart == expected.argumentStart, "argument text starts elsewhere", line,
                doubleByte, onWin9x);

        const RunChoice choice = ChooseRun(argument, onWin9x);
        Require(AsModelMode(choice.run) == expected.mode, "another run chosen", line, doubleByte,
                onWin9x);
        Require(choice.rest >= argument && choice.rest <= start + line.size(),
                "rest of the text out of bounds", line, doubleByte, onWin9x);
        Require(static_cast<std::size_t>(choice.rest - start) == expected.restStart,
                "rest of the text starts elsewhere", line, doubleByte, onWin9x);

        if (choice.run == SaverRun::Preview || choice.run == SaverRun::PasswordChange) {
            // The Windows build turns this value into the window handle (0 means none).
            Require(ParseDecimal(choice.rest) == expected.handle, "another window handle", line,
                    doubleByte, onWin9x);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The platform hands the command line over NUL-terminated, so an embedded NUL ends it.
    std::vector<char> buffer(data, data + size);
    buffer.push_back('\0');
    const std::string_view line(buffer.data());

    CheckOneStep(buffer, line, false);
    CheckOneStep(buffer, line, true);
    return 0;
}
