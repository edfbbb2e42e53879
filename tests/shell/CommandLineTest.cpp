#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "shell/CommandLine.h"

namespace {

// CharNextA on a code page whose lead bytes are 0x81 to 0x9F: a lead byte takes the byte after
// it along, unless that is the terminator.
const char* NextDoubleByteCharacter(const char* position) {
    const auto byte = static_cast<unsigned char>(*position);
    if (byte == 0) {
        return position;
    }
    return position + (byte >= 0x81 && byte <= 0x9F && position[1] != '\0' ? 2 : 1);
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
            << "command line: " << c.commandLine;
    }
}

TEST(CommandLine, ParseDecimalReadsLeadingDigitsModulo2To32) {
    const struct {
        const char* text;
        std::uint32_t value;
    } cases[] = {
        {"", 0},
        {"1234", 1234},
        {"12ab", 12},
        {"ab12", 0},
        {" 12", 0},
        {"-12", 0},
        {"007", 7},
        {"4294967295", 4294967295U},
        {"4294967296", 0},
        {"4294967297", 1},
        {"1234567890123456789012345", 1038278521U},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseDecimal(c.text), c.value) << "text: " << c.text;
    }
}

// Argument texts, and whole command lines (starting with a program name) through ArgumentText.
TEST(CommandLine, FirstSwitchLetterChoosesTheRun) {
    const struct {
        const char* text;
        bool onWin9x;
        SaverRun run;
        const char* rest;  // Checked for Preview and PasswordChange only.
    } cases[] = {
        {"", false, SaverRun::Settings, nullptr},
        {"/S", false, SaverRun::FullScreen, nullptr},
        {"-s", false, SaverRun::FullScreen, nullptr},
        {"s", false, SaverRun::FullScreen, nullptr},
        {"/ s", false, SaverRun::FullScreen, nullptr},
        {"//s", false, SaverRun::FullScreen, nullptr},
        {"/sx", false, SaverRun::FullScreen, nullptr},
        {"/l /s", false, SaverRun::FullScreen, nullptr},
        {"/l", false, SaverRun::Settings, nullptr},
        {"/c", false, SaverRun::SettingsOwnedByForeground, nullptr},
        {"/C:1234", false, SaverRun::SettingsOwnedByForeground, nullptr},
        {"/P     1234", false, SaverRun::Preview, "1234"},
        {"/p1234", false, SaverRun::Preview, "1234"},
        {"/p:1234", false, SaverRun::Preview, ":1234"},
        {"/p 12ab", false, SaverRun::Preview, "12ab"},
        {"/p letters", false, SaverRun::Preview, "letters"},
        {"/p", false, SaverRun::Preview, ""},
        {"/p\t1234", false, SaverRun::Preview, "\t1234"},  // Only spaces are skipped.
        {"/a 99", true, SaverRun::PasswordChange, "99"},
        {"/a 99", false, SaverRun::Refused, nullptr},
        {"/x", false, SaverRun::Refused, nullptr},
        {"/?", false, SaverRun::Refused, nullptr},
        {"/1", false, SaverRun::Refused, nullptr},
        {"/\ts", false, SaverRun::Refused, nullptr},
        {"\"/s", false, SaverRun::Refused, nullptr},
        {"\"C:\\Program Files\\My Savers\\zemlar.scr\" /p 1234", false, SaverRun::Preview, "1234"},
        {"\"C:\\Program Files\\My Savers\\zemlar.scr /s", false, SaverRun::Settings, nullptr},
        {"C:\\WINDOWS\\zemlar.scr /S", false, SaverRun::FullScreen, nullptr},
        {"zemlar.scr /c:1234", false, SaverRun::SettingsOwnedByForeground, nullptr},
        {"zemlar.scr \"/s\"", false, SaverRun::FullScreen, nullptr},  // The quote is skipped.
        {"zemlar.scr /?", false, SaverRun::Refused, nullptr},
    };
    for (const auto& c : cases) {
        // A text that names a .scr file is a whole command line.
        const bool commandLine = std::string(c.text).find(".scr") != std::string::npos;
        const RunChoice choice =
            ChooseRun(commandLine ? ArgumentText(c.text, NextByte) : c.text, c.onWin9x);
        EXPECT_EQ(choice.run, c.run) << "text: " << c.text;
        if (c.rest != nullptr) {
            EXPECT_EQ(std::string(choice.rest), c.rest) << "text: " << c.text;
        }
    }
}

}  // namespace
