#include "shell/CommandLine.h"

namespace {

constexpr char kQuote = '"';
constexpr unsigned char kLastNameSeparator = 0x20;  // Bytes up to this one end a bare name.
constexpr unsigned char kLastSkippedByte = 0x22;    // Control bytes, space, "!" and the quote.

unsigned char ByteAt(const char* position) {
    return static_cast<unsigned char>(*position);
}

const char* SkipSpaces(const char* position) {
    while (*position == ' ') {
        ++position;
    }
    return position;
}

}  // namespace

const char* NextByte(const char* position) {
    return *position == '\0' ? position : position + 1;
}

const char* ArgumentText(const char* commandLine, CharStep step) {
    const char* position = commandLine;
    if (*position == kQuote) {
        // The closing quote stays: the blank skip below takes it with the blanks.
        position = step(position);
        while (*position != kQuote && *position != '\0') {
            position = step(position);
        }
    } else if (ByteAt(position) > kLastNameSeparator) {
        while (ByteAt(position) > kLastNameSeparator) {
            position = step(position);
        }
    }
    while (ByteAt(position) != 0 && ByteAt(position) <= kLastSkippedByte) {
        position = step(position);
    }
    return position;
}

std::uint32_t ParseDecimal(const char* text) {
    std::uint32_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10U + static_cast<std::uint32_t>(*text - '0');
    }
    return value;
}

RunChoice ChooseRun(const char* argumentText, bool onWin9x) {
    for (const char* position = argumentText;; ++position) {
        switch (*position) {
            case '\0':
                return {SaverRun::Settings, position};
            case ' ':
            case '-':
            case '/':
            case 'l':
            case 'L':
                continue;
            case 's':
            case 'S':
                return {SaverRun::FullScreen, position};
            case 'p':
            case 'P':
                return {SaverRun::Preview, SkipSpaces(position + 1)};
            case 'c':
            case 'C':
                return {SaverRun::SettingsOwnedByForeground, position};
            case 'a':
            case 'A':
                if (!onWin9x) {
                    return {SaverRun::Refused, position};
                }
                return {SaverRun::PasswordChange, SkipSpaces(position + 1)};
            default:
                return {SaverRun::Refused, position};
        }
    }
}
