#include "CommandLineModel.h"

#include <vector>

namespace model {
namespace {

// Offsets at which characters start, then the terminator's offset as a last entry.
std::vector<std::size_t> CharacterStarts(std::string_view line, bool doubleByte) {
    std::vector<std::size_t> starts;
    std::size_t offset = 0;
    while (offset < line.size()) {
        starts.push_back(offset);
        const bool pair = doubleByte && IsLeadByte(static_cast<unsigned char>(line[offset])) &&
                          offset + 1 < line.size();
        offset += pair ? 2 : 1;
    }
    starts.push_back(line.size());
    return starts;
}

std::size_t ArgumentStart(std::string_view line, bool doubleByte) {
    const std::vector<std::size_t> starts = CharacterStarts(line, doubleByte);
    const std::size_t characters = starts.size() - 1;
    // The first byte of character c; the terminator reads as 0.
    const auto first = [&](std::size_t c) -> unsigned {
        return c < characters ? static_cast<unsigned char>(line[starts[c]]) : 0U;
    };

    std::size_t c = 0;
    if (first(0) == '"') {
        // Quoted name: up to the next character that is a quote (kept for the next skip).
        c = 1;
        while (c < characters && first(c) != '"') {
            ++c;
        }
    } else {
        // Bare name: every character whose first byte is above the blank.
        while (c < characters && first(c) > 0x20U) {
            ++c;
        }
    }
    // Then control bytes, blanks, "!" and quotes.
    while (c < characters && first(c) >= 0x01U && first(c) <= 0x22U) {
        ++c;
    }
    return starts[c];
}

char AsciiLower(char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte;
}

// The handle: the leading digits as a number modulo 2^32, worked out in 64 bits.
std::uint32_t LeadingNumber(std::string_view text) {
    std::uint64_t value = 0;
    for (const char byte : text) {
        if (byte < '0' || byte > '9') {
            break;
        }
        value = (value * 10U + static_cast<std::uint64_t>(byte - '0')) % (std::uint64_t{1} << 32);
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace

bool IsLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

Decision Decide(std::string_view line, bool doubleByte, bool onWin9x) {
    Decision decision{ArgumentStart(line, doubleByte), Mode::Settings, line.size(), 0};
    const std::string_view text = line.substr(decision.argumentStart);

    const std::size_t letter = text.find_first_not_of(" -/lL");
    if (letter == std::string_view::npos) {
        return decision;  // Nothing but separators and "l": the dialog without owner.
    }
    decision.restStart = decision.argumentStart + letter;
    switch (AsciiLower(text[letter])) {
        case 's':
            decision.mode = Mode::FullScreen;
            return decision;
        case 'c':
            decision.mode = Mode::SettingsOwnedByForeground;
            return decision;
        case 'a':
            if (!onWin9x) {
                decision.mode = Mode::Refused;
                return decision;
            }
            decision.mode = Mode::PasswordChange;
            break;
        case 'p':
            decision.mode = Mode::Preview;
            break;
        default:
            decision.mode = Mode::Refused;
            return decision;
    }
    // A handle follows the letter after any number of spaces (tabs do not count).
    std::size_t digits = letter + 1;
    while (digits < text.size() && text[digits] == ' ') {
        ++digits;
    }
    decision.restStart = decision.argumentStart + digits;
    decision.handle = LeadingNumber(text.substr(digits));
    return decision;
}

}  // namespace model
