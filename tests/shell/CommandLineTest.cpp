#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "shell/CommandLine.h"

namespace {

// A double-byte step in the manner of CharNextA on a code page whose lead bytes are 0x81 to
// 0x9F: a lead byte takes the byte after it along, unless that is the terminator.
const char* NextDoubleByteCharacter(const char* position) {
    const auto byte = static_cast<unsigned char>(*position);
    if (byte == 0) {
        return position;
    }
    if (byte >= 0x81 && byte <= 0x9F && position[1] != '\0') {
        return position + 2;
    }
    return position + 1;
}

struct ArgumentCase {
    const char* commandLine;
    const char* argumentText;
};

TEST(CommandLine, ArgumentTextFollowsTheProgramName) {
    const ArgumentCase cases[] = {
        {"zemlar.scr", ""},
        {"", ""},
        {"zemlar.scr /s", "/s"},
        {"C:\\WINDOWS\\ZEMLAR.SCR /p 1234", "/p 1234"},
        {"\"C:\\Program Files\\Zemlar Saver\\zemlar.scr\" /p 1234", "/p 1234"},
        {"\"C:\\Program Files\\zemlar.scr\"/c", "/c"},
        {"\"C:\\Program Files\\zemlar.scr /s", ""},  // No closing quote: nothing is left.
        {"\"\" /s", "/s"},
        {"zemlar.scr\t/s", "/s"},           // A control byte ends a bare name.
        {"zemlar.scr  \t \"\"!!/s", "/s"},  // Blanks, quotes and "!" before the switch.
        {"zem\xE9lar.scr /s", "/s"},        // Bytes above 0x7F belong to the name.
        {" /s", "/s"},                      // Nothing to skip as a name.
        {"zemlar.scr #s", "#s"},            // "#" is above 0x22 and starts the argument text.
        {"zemlar.scr \x01\x1F/s", "/s"},
    };
    for (const ArgumentCase& c : cases) {
        EXPECT_EQ(std::string(ArgumentText(c.commandLine, NextByte)), c.argumentText)
            << "command line: " << c.commandLine;
    }
}

TEST(CommandLine, StepsOverDoubleByteCharactersWhole) {
    // The second byte of a double-byte character may look like a quote or a blank; stepped over
    // whole it is part of the name.
    const ArgumentCase cases[] = {
        {"\"C:\\x\x81\"y.scr\" /s", "/s"},
        {"C:\\x\x81 y.scr /s", "/s"},
        {"\"C:\\x.scr\x81", ""},  // A lead byte before the terminator stops at the terminator.
    };
    for (const ArgumentCase& c : cases) {
        EXPECT_EQ(std::string(ArgumentText(c.commandLine, NextDoubleByteCharacter)), c.argumentText)
            << "command line: " << c.commandLine;
    }
    // The one-byte step takes the same bytes as a quote and a blank.
    EXPECT_EQ(std::string(ArgumentText("\"C:\\x\x81\"y.scr\" /s", NextByte)), "y.scr\" /s");
    EXPECT_EQ(std::string(ArgumentText("C:\\x\x81 y.scr /s", NextByte)), "y.scr /s");
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
        {" 12", 0},  // No leading blanks.
        {"-12", 0},  // No sign.
        {"0x1F", 0},
        {"007", 7},
        {"4294967295", 4294967295U},
        {"4294967296", 0},
        {"4294967297", 1},
        {"99999999999", 1215752191U},  // 99999999999 mod 2^32.
        {"1234567890123456789012345", 1038278521U},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseDecimal(c.text), c.value) << "text: " << c.text;
    }
}

struct RunCase {
    const char* argumentText;
    bool onWin9x;
    SaverRun run;
    const char* rest;  // Checked for Preview and PasswordChange only.
};

TEST(CommandLine, FirstSwitchLetterChoosesTheRun) {
    const RunCase cases[] = {
        {"", false, SaverRun::Settings, nullptr},
        {"/S", false, SaverRun::FullScreen, nullptr},
        {"-s", false, SaverRun::FullScreen, nullptr},
        {"s", false, SaverRun::FullScreen, nullptr},
        {"/ s", false, SaverRun::FullScreen, nullptr},
        {"//s", false, SaverRun::FullScreen, nullptr},
        {"/sx", false, SaverRun::FullScreen, nullptr},
        {"/l /s", false, SaverRun::FullScreen, nullptr},
        {"/L", false, SaverRun::Settings, nullptr},
        {"/l", false, SaverRun::Settings, nullptr},
        {"- -/ ", false, SaverRun::Settings, nullptr},
        {"/c", false, SaverRun::SettingsOwnedByForeground, nullptr},
        {"/C:1234", false, SaverRun::SettingsOwnedByForeground, nullptr},
        {"/p 1234", false, SaverRun::Preview, "1234"},
        {"/P     1234", false, SaverRun::Preview, "1234"},
        {"/p1234", false, SaverRun::Preview, "1234"},
        {"/p:1234", false, SaverRun::Preview, ":1234"},
        {"/p 12ab", false, SaverRun::Preview, "12ab"},
        {"/p", false, SaverRun::Preview, ""},
        {"/p\t1234", false, SaverRun::Preview, "\t1234"},  // Only spaces are skipped.
        {"/a 99", true, SaverRun::PasswordChange, "99"},
        {"/A", true, SaverRun::PasswordChange, ""},
        {"/a 99", false, SaverRun::Refused, nullptr},
        {"/x", false, SaverRun::Refused, nullptr},
        {"/?", false, SaverRun::Refused, nullptr},
        {"/1", false, SaverRun::Refused, nullptr},
        {"/\ts", false, SaverRun::Refused, nullptr},
        {":s", false, SaverRun::Refused, nullptr},
        {"\xD3", false, SaverRun::Refused, nullptr},
        {"\"/s", false, SaverRun::Refused, nullptr},
    };
    for (const RunCase& c : cases) {
        const RunChoice choice = ChooseRun(c.argumentText, c.onWin9x);
        EXPECT_EQ(choice.run, c.run) << "argument text: " << c.argumentText;
        if (c.rest != nullptr) {
            EXPECT_EQ(std::string(choice.rest), c.rest) << "argument text: " << c.argumentText;
        }
    }
}

TEST(CommandLine, WholeCommandLinesChooseTheirRun) {
    const struct {
        const char* commandLine;
        SaverRun run;
    } cases[] = {
        {"\"C:\\Program Files\\My Savers\\zemlar.scr\" /p 1234", SaverRun::Preview},
        {"\"C:\\Program Files\\My Savers\\zemlar.scr /s", SaverRun::Settings},
        {"C:\\WINDOWS\\zemlar.scr /S", SaverRun::FullScreen},
        {"C:\\WINDOWS\\zemlar.scr", SaverRun::Settings},
        {"zemlar.scr /c:1234", SaverRun::SettingsOwnedByForeground},
        {"zemlar.scr \"/s\"", SaverRun::FullScreen},  // The opening quote goes with the blanks.
        {"zemlar.scr /?", SaverRun::Refused},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseRun(ArgumentText(c.commandLine, NextByte), false).run, c.run)
            << "command line: " << c.commandLine;
    }
}

}  // namespace
