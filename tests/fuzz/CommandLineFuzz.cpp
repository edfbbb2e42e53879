// Arbitrary bytes as the whole command line, program name included, through the argument-text
// skip and the switch scan as the Windows start routine uses them, one-byte and double-byte
// (CharNextA-like), on both kinds of platform. The exact grammar is pinned by the unit tables;
// here nothing may read outside the text, and text without lead bytes must split the same way.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "shell/CommandLine.h"

namespace {

bool IsLeadByte(char byte) {
    return static_cast<unsigned char>(byte) >= 0x81 && static_cast<unsigned char>(byte) <= 0xFE;
}
const char* NextDoubleByteCharacter(const char* position) {
    return *position == '\0' ? position : position + (IsLeadByte(*position) && position[1] ? 2 : 1);
}

void Require(bool holds, const char* what) {  // libFuzzer keeps the input that failed.
    if (!holds) {
        std::fprintf(stderr, "command line: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The platform hands the command line over NUL-terminated, so an embedded NUL ends it.
    std::vector<char> buffer(data, data + size);
    buffer.push_back('\0');
    const char* const start = buffer.data();
    const char* const end = start + std::strlen(start);
    const char* const single = ArgumentText(start, NextByte);
    const char* const wide = ArgumentText(start, NextDoubleByteCharacter);
    Require(single >= start && single <= end && wide >= start && wide <= end,
            "argument text outside the line");
    Require(std::any_of(start, end, IsLeadByte) || single == wide,
            "one-byte text splits differently as double-byte text");
    for (const char* argument : {single, wide}) {
        for (const bool onWin9x : {false, true}) {
            const RunChoice choice = ChooseRun(argument, onWin9x);
            Require(choice.rest >= argument && choice.rest <= end, "rest outside the text");
            Require(onWin9x || choice.run != SaverRun::PasswordChange, "/a outside 95/98");
            if (choice.run == SaverRun::Preview || choice.run == SaverRun::PasswordChange) {
                ParseDecimal(choice.rest);
            }
        }
    }
    return 0;
}
