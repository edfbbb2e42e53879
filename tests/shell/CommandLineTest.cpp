#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "shell/CommandLine.h"

namespace {

// CharNextA on a code page whose lead bytes are 0x81 to 0x9F: a lead byte takes the byte after
// it along, unless that is the terminator.
const char* NextDoubleByteCharacter(const char* position) {
    const auto byte = static_cast<unsigned char>(*position);
    return byte == 0 ? position : position + (byte >= 0x81 && byte <= 0x9F && position[1] ? 2 : 1);
}

TEST(CommandLine, ArgumentTextFollowsTheProgramName) {
    const struct {
        const char* commandLine;
        CharStep step;
        const char* argumentText;
    } cases[] = {
        {"zemlar.scr", NextByte, ""},
        {"", NextByte, ""},
        {"\"C:\\Program Files\\Zemlar Saver\\zemlar.scr\" /p 1234", NextByte, "/p 1234"},
        {"\"C:\\Program Files\\zemlar.scr\"/c", NextByte, "/c"},
        {"\"C:\\Program Files\\zemlar.scr /s", NextByte, ""},  // No closing quote.
        {"zemlar.scr\t/s", NextByte, "/s"},                    // A control byte ends a name.
        {"zemlar.scr  \t \"\"!!/s", NextByte, "/s"},
        {"zem\xE9lar.scr /s", NextByte, "/s"},  // Bytes above 0x7F belong to the name.
        {"zemlar.scr #s", NextByte, "#s"},
        // A double-byte character whose second byte looks like a quote or a blank.
        {"\"C:\\x\x81\"y.scr\" /s", NextDoubleByteCharacter, "/s"},
        {"C:\\x\x81 y.scr /s", NextDoubleByteCharacter, "/s"},
        {"\"C:\\x.scr\x81", NextDoubleByteCharacter, ""},
        {"\"C:\\x\x81\"y.scr\" /s", NextByte, "y.scr\" /s"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::string(ArgumentText(c.commandLine, c.step)), c.argumentText)
            << c.commandLine;
    }
}

TEST(CommandLine, ParseDecimalReadsLeadingDigitsModulo2To32) {
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"", 0},           {"1234", 1234},
        {"12ab", 12},      {"ab12", 0},
        {" 12", 0},        {"-12", 0},
        {"007", 7},        {"4294967295", 4294967295U},
        {"4294967296", 0}, {"1234567890123456789012345", 1038278521U},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ParseDecimal(text), value) << text;
    }
}

// The first byte that is no blank, "-", "/" or "l" decides; what follows a "p" or an "a" and
// its spaces is where the handle's digits are read.
TEST(CommandLine, FirstSwitchLetterChoosesTheRun) {
    using enum SaverRun;
    const struct {
        const char* text;
        bool onWin9x;
        SaverRun run;
        const char* rest;  // Checked for Preview and PasswordChange only.
    } cases[] = {
        {"", false, Settings, nullptr},
        {"/S", false, FullScreen, nullptr},
        {"-s", false, FullScreen, nullptr},
        {"s", false, FullScreen, nullptr},
        {"/ s", false, FullScreen, nullptr},
        {"//s", false, FullScreen, nullptr},
        {"/sx", false, FullScreen, nullptr},
        {"/l /s", false, FullScreen, nullptr},
        {"/L", false, Settings, nullptr},
        {"/c", false, SettingsOwnedByForeground, nullptr},
        {"/C:1234", false, SettingsOwnedByForeground, nullptr},
        {"/P     1234", false, Preview, "1234"},
        {"/p1234", false, Preview, "1234"},
        {"/p:1234", false, Preview, ":1234"},
        {"/p", false, Preview, ""},
        {"/p\t1234", false, Preview, "\t1234"},  // Only spaces are skipped.
        {"/a 99", true, PasswordChange, "99"},
        {"/A99", true, PasswordChange, "99"},
        {"/a 99", false, Refused, nullptr},
        {"/x", false, Refused, nullptr},
        {"/?", false, Refused, nullptr},
        {"/1", false, Refused, nullptr},
        {"/\ts", false, Refused, nullptr},
        {"\"/s", false, Refused, nullptr},
    };
    for (const auto& c : cases) {
        const RunChoice choice = ChooseRun(c.text, c.onWin9x);
        EXPECT_EQ(choice.run, c.run) << c.text;
        if (c.rest != nullptr) {
            EXPECT_EQ(std::string(choice.rest), c.rest) << c.text;
        }
    }
}

}  // namespace
